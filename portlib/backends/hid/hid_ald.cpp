#include "backends/hid/hid_ald.h"

#include "trace.h"

#include <dova/dova.h>

WHidAld::~WHidAld() {
    WHidAld::release(0);
}

uint32_t WHidAld::getIFType() {
    return DOVA_IF_ALD;
}

int32_t WHidAld::claim(int32_t) {
    dovaTrace("DOVA: WHidAld::claim(%d)\n", no_);
    release(0);
    return openDevice(kVendorId, kProductId, kUsage);
}

int32_t WHidAld::release(int32_t timeout) {
    if (!node_.isOpen()) return DOVA_OK;
    dovaTrace("DOVA: WHidAld::release(%d)\n", timeout);
    int32_t kept = waitSendDone(timeout);
    closeNode();
    return kept;
}
