/* libULMPAX04.so ("ULMPAX04.DLL", under "ORVAN/ORVAN Brisaprint 4" in the
 * Program Files folder): the printer maker's driver port library as libdova
 * calls it. A replacement built against this header is loaded by path; every
 * function has the default C calling convention of the platform and is
 * exported under exactly these names.
 *
 * The functions have the shape of the Windows file calls they stand for.
 * Results typed int32_t are booleans: non-zero success, 0 failure. The
 * device handle is opaque and as wide as a pointer; SD_INVALID_HANDLE (all
 * bits set) means no device. Names are UTF-16, terminated by a 0 unit.
 *
 * Overlapped transfers. A device opened with SD_FILE_FLAG_OVERLAPPED is
 * given an SdOverlapped record with every read and write; the record stays
 * valid until SD_CloseHandle of the device returns. The library either
 * finishes at once (non-zero result, *done set) or answers 0 and sets
 * `error` to the reason: SD_ERROR_IO_PENDING when the transfer goes on in
 * the background. A pending transfer, once ended (perhaps before the call
 * returned), sets `result` (0 or the reason it failed) and `transferred`,
 * and then raises `event` by writing an 8-byte count of 1 to that eventfd;
 * libdova reads those two fields only after it saw the event raised, and
 * lowers the event after every call.
 * A transfer still pending at SD_CloseHandle is abandoned: after that call
 * returns the library touches neither the record nor the event. */
#ifndef DOVA_ULMPAX_LIBRARY_H
#define DOVA_ULMPAX_LIBRARY_H

#include <stdint.h>
#ifndef __cplusplus
#include <uchar.h>
#endif

#ifdef __cplusplus
extern "C" {
#endif

typedef void* SdHandle;
#define SD_INVALID_HANDLE ((SdHandle)(intptr_t)-1)

#define SD_GENERIC_READ 0x80000000u
#define SD_GENERIC_WRITE 0x40000000u
#define SD_OPEN_EXISTING 3u
#define SD_FILE_ATTRIBUTE_NORMAL 0x00000080u
#define SD_FILE_FLAG_OVERLAPPED 0x40000000u

/* The values of SdOverlapped.error libdova tells apart. */
#define SD_ERROR_INVALID_HANDLE 6u
#define SD_ERROR_IO_PENDING 997u

typedef struct SdOverlapped {
    int32_t event;        /* eventfd, set by libdova */
    uint32_t error;       /* the reason of a call that answered 0 */
    uint32_t result;      /* how a pending transfer ended: 0 done, else the reason */
    uint32_t transferred; /* bytes a pending transfer moved */
} SdOverlapped;

/* name: "ULM_LPT<n>:". security and templateFile are always 0. Returns the
 * device, or SD_INVALID_HANDLE when it cannot be opened. */
SdHandle SD_CreateFile(const char16_t* name, uint32_t access, uint32_t share, void* security,
                       uint32_t creation, uint32_t flags, void* templateFile);
/* overlapped is 0 for a device opened without SD_FILE_FLAG_OVERLAPPED. */
int32_t SD_WriteFile(SdHandle device, const void* data, uint32_t size, uint32_t* done,
                     SdOverlapped* overlapped);
/* The same write in the printer's forced mode (what the port's force
 * switches on). */
int32_t SD_WriteFile2(SdHandle device, const void* data, uint32_t size, uint32_t* done,
                      SdOverlapped* overlapped);
int32_t SD_ReadFile(SdHandle device, void* buffer, uint32_t size, uint32_t* done,
                    SdOverlapped* overlapped);
int32_t SD_CloseHandle(SdHandle device);
int32_t SD_HWReset(SdHandle device);

#ifdef __cplusplus
}
#endif

#endif
