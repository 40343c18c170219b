/* libWNTSFPRT.so ("WNTSFPRT.DLL"): the IBM printer library as libdova calls
 * it. A replacement built against this header is loaded by name; every
 * function has the default C calling convention of the platform and is
 * exported under exactly these names.
 *
 * Every result is a 16-bit value: 0 success, anything else the library's
 * reason. Lengths are 16-bit and passed in and out: in the bytes offered or
 * the room, out the bytes done. The device handle is 32-bit, 0 no device. */
#ifndef DOVA_WNTSFPRT_LIBRARY_H
#define DOVA_WNTSFPRT_LIBRARY_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef uint32_t WntsfprtDevice;

uint16_t PrtOpenDevice(WntsfprtDevice* device, uint16_t number, uint32_t timeoutMs);
uint16_t PrtWriteDevice(WntsfprtDevice device, uint16_t station, const uint8_t* data,
                        uint16_t* length);
uint16_t PrtReadDevice(WntsfprtDevice device, uint16_t station, uint8_t* buffer, uint16_t* length);
uint16_t PrtBeginTrans(WntsfprtDevice device, uint16_t mode);
uint16_t PrtEndTrans(WntsfprtDevice device);
uint16_t PrtCloseDevice(WntsfprtDevice device);
/* Fills buffer with the values of set `which` (0 error counters: four
 * 16-bit words; 1 power-on status: one word; 3 printer id: one byte). This
 * is the only form libdova calls: where a caller names only a station and a
 * buffer, set 0 is asked for. */
uint16_t PrtGetEnvVars(WntsfprtDevice device, uint16_t station, void* buffer, uint16_t which);
/* Fills buffer with the device status (exception word, error word, count:
 * three 16-bit words); *size in the room, out the bytes stored. */
uint16_t PrtDeviceStatus(WntsfprtDevice device, uint16_t station, uint16_t which, void* buffer,
                         uint16_t* size);
uint16_t PrtGetCP(WntsfprtDevice device, uint16_t codePage);
uint16_t PrtSetCP(WntsfprtDevice device, uint16_t codePage, uint16_t table);

#ifdef __cplusplus
}
#endif

#endif
