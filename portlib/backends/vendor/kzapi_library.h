/* libKZAPI.so ("KZAPI.DLL"): the channel library as libdova calls it. A
 * replacement built against this header is loaded by name; every function
 * has the default C calling convention of the platform and is exported under
 * exactly these names.
 *
 * Results are 32-bit: 0 or a channel or a byte count on success, negative
 * on failure. Counts are signed because they share the result. */
#ifndef DOVA_KZAPI_LIBRARY_H
#define DOVA_KZAPI_LIBRARY_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

/* 0 when the library is ready for channels. */
int32_t KZInitialize(void);
/* The channel, or a negative value. libdova passes 1 for both parameters. */
int32_t KZOpenChannel(int32_t parameterA, const char* channelName, int32_t parameterB);
/* The bytes taken (possibly fewer than offered), or a negative value. */
int32_t KZSend(int32_t channel, const uint8_t* data, int32_t size);
/* *size: in the room of buffer, out the bytes stored. timeoutMs -1 waits
 * as long as the library waits. The bytes received, or a negative value. */
int32_t KZReceive(int32_t channel, uint8_t* buffer, int32_t* size, int32_t timeoutMs);
int32_t KZRelease(void);

#ifdef __cplusplus
}
#endif

#endif
