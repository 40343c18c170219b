/* libnrDTescM.so ("nrDTescM.dll"): the escape-driver printer library as
 * libdova calls it. A replacement built against this header is loaded by
 * name; every function has the default C calling convention of the platform
 * and is exported under exactly these names.
 *
 * Results are 32-bit: 0 success, anything else the library's reason. The
 * device handle is 32-bit; libdova holds -1 for none. */
#ifndef DOVA_NRDTESCM_LIBRARY_H
#define DOVA_NRDTESCM_LIBRARY_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t NrdtescmDevice;

/* printerName: the spooler's name of the printer; driverName: the library's
 * own Windows name ("nrDTEscM.dll"). libdova passes 0 for flags. */
int32_t devOpenA(NrdtescmDevice* device, const char* printerName, int32_t flags,
                 const char* driverName);
int32_t devWrite(NrdtescmDevice device, uint32_t timeoutMs, const uint8_t* data, uint32_t size,
                 uint32_t* written);
/* status: a 32-bit value the library may fill; libdova does not read it. */
int32_t devRead(NrdtescmDevice device, uint32_t timeoutMs, uint32_t* status, uint8_t* buffer,
                uint32_t size, uint32_t* read);
int32_t devLock(NrdtescmDevice device, uint32_t timeoutMs);
int32_t devUnlock(NrdtescmDevice device);
int32_t devClose(NrdtescmDevice device);

#ifdef __cplusplus
}
#endif

#endif
