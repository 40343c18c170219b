/* The printer maker's print-service library (libNDX.so on Linux) as libdova
 * calls it: the contract a print service for Linux builds against.
 *
 * C linkage, the platform's default calling convention, names exactly as
 * spelled. Results are int32_t: 0 success, anything else a failure
 * (HRESULT-style values such as 0x80009999 are negative). Handles and
 * counts are 32-bit. Host and device names are UTF-16 (char16_t), null-ended.
 *
 * Received data reach the caller through the registered callback, which the
 * library calls on a thread of its own. Once NDX_UnRegisterCallback or
 * NDX_Close has returned, the library calls it no more, and a call in
 * progress has ended. */
#ifndef DOVA_NDX_LIBRARY_H
#define DOVA_NDX_LIBRARY_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t NDX_HANDLE;

/* The event of a callback that carries received data. */
#define NDX_EVENT_DATA 0x10000000u

/* event; two values the port does not use; the data's length and bytes
 * (valid during the call only); the context given at registration.
 * Answers 0. */
typedef int32_t (*NDX_CALLBACK)(uint32_t event, uint32_t value1, uint32_t value2, uint32_t length,
                                const uint8_t* data, void* context);

/* Once per port object: at its construction and its destruction. */
int32_t NDX_Initialize(void);
int32_t NDX_Terminate(void);

/* host: "" for this computer, else "a.b.c.d:port". device: "ULMPRT001".
 * mode: 1 receipt (KP), 2 customer display (CD), 0 other. */
int32_t NDX_Open(const char16_t* host, const char16_t* device, uint32_t reserved, uint32_t mode,
                 NDX_HANDLE* handle);
int32_t NDX_Close(NDX_HANDLE handle);
int32_t NDX_RegisterCallback(uint32_t reserved, NDX_HANDLE handle, NDX_CALLBACK callback,
                             void* context);
int32_t NDX_UnRegisterCallback(uint32_t reserved, NDX_HANDLE handle);
/* Sends length bytes within timeoutMs; *sent is what the service took. */
int32_t NDX_Send(NDX_HANDLE handle, uint32_t reserved1, uint32_t reserved2, uint32_t timeoutMs,
                 uint32_t length, const uint8_t* data, uint32_t* sent);
int32_t NDX_Lock(NDX_HANDLE handle, uint32_t timeoutMs);
int32_t NDX_Unlock(NDX_HANDLE handle);
/* how: 2 */
int32_t NDX_ResetDevice(NDX_HANDLE handle, uint32_t how);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif
