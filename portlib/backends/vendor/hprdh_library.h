/* libHPRDH.so ("HPRDH.dll"): the HP printer library as libdova calls it. A
 * replacement built against this header is loaded by name; every function
 * has the default C calling convention of the platform and is exported under
 * exactly these names.
 *
 * Results are 32-bit: 0 success, anything else the library's reason. The
 * printer handle is 32-bit; libdova holds -1 for none. */
#ifndef DOVA_HPRDH_LIBRARY_H
#define DOVA_HPRDH_LIBRARY_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef int32_t HprdhPrinter;

/* printerName: the spooler's name of the printer. */
int32_t PrtOpenA(HprdhPrinter* printer, const char* printerName);
int32_t PrtClaim(HprdhPrinter printer, uint32_t timeoutMs);
int32_t PrtWrite(HprdhPrinter printer, const uint8_t* data, uint32_t size, uint32_t* written);
int32_t PrtRelease(HprdhPrinter printer);
/* Closes *printer and may clear it. */
int32_t PrtClose(HprdhPrinter* printer);

#ifdef __cplusplus
}
#endif

#endif
