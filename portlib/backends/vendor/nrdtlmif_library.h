/* libnrDTLmIF.so ("nrDTLmIF.dll"): the language-monitor printer library as
 * libdova calls it. A replacement built against this header is loaded by
 * name; every function has the default C calling convention of the platform
 * and is exported under exactly these names.
 *
 * Results are 32-bit: 0 success, anything else the library's reason. The
 * device handle is 32-bit; libdova holds -1 for none. */
#ifndef DOVA_NRDTLMIF_LIBRARY_H
#define DOVA_NRDTLMIF_LIBRARY_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t NrdtlmifDevice;

/* eventFd: an eventfd descriptor of the caller's (the Windows event's stand-in),
 * lowered, which the library may raise by writing an 8-byte count; it stays
 * open until after LIClose. libdova passes 0 for flags. */
int32_t LIOpen(int32_t flags, const char* printerName, int32_t eventFd, NrdtlmifDevice* device);
/* libdova passes 0 for flags. */
int32_t LIWrite(NrdtlmifDevice device, int32_t flags, const uint8_t* data, uint32_t size,
                uint32_t* written);
/* status: a 32-bit value the library may fill; libdova does not read it. */
int32_t LIRead(NrdtlmifDevice device, uint32_t* status, uint8_t* buffer, uint32_t size,
               uint32_t* read);
int32_t LILock(NrdtlmifDevice device);
int32_t LIUnlock(NrdtlmifDevice device);
int32_t LIClose(NrdtlmifDevice device);

#ifdef __cplusplus
}
#endif

#endif
