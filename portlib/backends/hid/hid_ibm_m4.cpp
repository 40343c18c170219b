#include "backends/hid/hid_ibm_m4.h"

#include "trace.h"

#include <dova/dova.h>

WHidIbmM4::~WHidIbmM4() {
    release(0);
}

uint32_t WHidIbmM4::getIFType() {
    return DOVA_IF_IBMM4;
}

int32_t WHidIbmM4::claim(int32_t) {
    dovaTrace("DOVA: WHidIbmM4::claim(%d)\n", no_);
    release(0);
    return openDevice(kVendorId, kProductId, kUsage);
}

int32_t WHidIbmM4::send(const void*, uint32_t, uint32_t* written, uint32_t, uint32_t, uint32_t) {
    if (written) *written = 0;
    return DOVA_E_NOTSUPPORTED;
}

int32_t WHidIbmM4::recv(void*, uint32_t, uint32_t* read, uint32_t) {
    if (read) *read = 0;
    return DOVA_E_NOTSUPPORTED;
}
