/* libStarIOPort.so ("StarIOPort.dll"): the Star Micronics port library as
 * libdova calls it. A replacement built against this header is loaded by
 * name; every function has the default C calling convention of the platform
 * and is exported under exactly these names.
 *
 * The port handle is opaque and as wide as a pointer; 0 means no port.
 * Results typed int32_t are booleans: non-zero success, 0 failure. */
#ifndef DOVA_STARIO_PORT_LIBRARY_H
#define DOVA_STARIO_PORT_LIBRARY_H

#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

typedef void* StarIOPortHandle;

/* portName and settings are narrow strings; timeoutMs is the caller's claim
 * time-out. Returns the port, or 0 when it cannot be opened. */
StarIOPortHandle OpenPortA(const char* portName, const char* settings, uint32_t timeoutMs);
int32_t WritePort(StarIOPortHandle port, const uint8_t* data, uint32_t size, uint32_t* written);
int32_t ReadPort(StarIOPortHandle port, uint8_t* buffer, uint32_t size, uint32_t* read);
int32_t ClosePort(StarIOPortHandle port);
int32_t ResetDevice(StarIOPortHandle port);
/* *online: non-zero while the printer is on line. */
int32_t GetOnlineStatus(StarIOPortHandle port, int32_t* online);

#ifdef __cplusplus
}
#endif

#endif
