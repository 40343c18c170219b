/* The printer maker's port-handler library (libKestra.so under the Program
 * Files folder, else libOrvanGW.so, on Linux) as libdova calls it: the
 * contract a port handler for Linux builds against.
 *
 * C linkage, the platform's default calling convention, names exactly as
 * spelled. Results are int32_t: 0 success, else an HRESULT-style failure
 * (0x80000001, 0x80000003, 0x80000006, 0x80010001, 0x80060000 have their
 * own meaning to libdova). Handles and counts are 32-bit. Port names are
 * UTF-16 (char16_t), null-ended: "pipe://KP/ULMPRT001",
 * "tcp://10.0.0.5/CD/ULMPRT001".
 *
 * The callback runs on a thread of the library's own. Once
 * UnRegisterCallback has returned, the library calls it no more, and a call
 * in progress has ended. */
#ifndef DOVA_GW_LIBRARY_H
#define DOVA_GW_LIBRARY_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t GW_HANDLE;

/* The callback code of received data, and two control codes. */
#define GW_CALLBACK_DATA 0x60002u
#define GW_IOCTL_RESET 0x60060004u
#define GW_IOCTL_FORCE 0x60060005u /* input: a uint32_t, 2 on, 1 off */

/* context given at registration; event; the data (valid during the call
 * only) and its length. */
typedef int32_t (*GW_CALLBACK)(void* context, uint32_t event, const uint8_t* data, uint32_t length);

int32_t Open(const char16_t* name, GW_HANDLE* handle);
int32_t Close(GW_HANDLE handle);
int32_t Lock(GW_HANDLE handle, uint32_t timeoutMs);
int32_t Unlock(GW_HANDLE handle);
int32_t RegisterCallback(GW_HANDLE handle, uint32_t code, GW_CALLBACK callback, void* context);
int32_t UnRegisterCallback(GW_HANDLE handle, uint32_t code, GW_CALLBACK callback, void* context);
/* Sends length bytes within timeoutMs (*sent: what was taken) and, when
 * answerSize is not 0, waits for an answer of at most answerSize bytes
 * (*answerCount: its length). */
int32_t SendReceive(GW_HANDLE handle, const uint8_t* data, uint32_t length, uint32_t* sent,
                    uint32_t flags, uint32_t timeoutMs, uint8_t* answer, uint32_t answerSize,
                    uint32_t* answerCount);
int32_t Ioctl(GW_HANDLE handle, uint32_t code, const void* input, uint32_t inputSize, void* output,
              uint32_t outputSize, uint32_t* returned);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif
