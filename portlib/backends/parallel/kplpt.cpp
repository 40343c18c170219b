#include "backends/parallel/kplpt.h"

#include "os/os_config.h"
#include "os/os_device.h"
#include "trace.h"

WKplpt::~WKplpt() {
    WKplpt::release(0);
}

std::string WKplpt::devicePath() const {
    const std::string n = std::to_string(no_);
    auto own = os::configString("devices", ("KPLPT" + n).c_str());
    if (own && !own->empty()) return os::DeviceNode::resolvePath(own->c_str());
    return dovaLineDevicePath(("LPT" + n).c_str(), defaultNode(no_));
}

int32_t WKplpt::claim(int32_t) {
    dovaTrace("DOVA: WKplpt::claim(%d)\n", no_);
    release(0);
    if (int32_t r = openDevice(); r != DOVA_OK) return r;
    activeTimeouts_ = storedTimeouts_;
    return DOVA_OK;
}

int32_t WKplpt::release(int32_t timeout) {
    if (!node_.isOpen()) return DOVA_OK;
    dovaTrace("DOVA: WKplpt::release(%d)\n", timeout);
    int32_t result = waitSendDone(timeout);
    closeDevice();
    return result;
}

int32_t WKplpt::force(int32_t on) {
    dovaTrace("DOVA: WKplpt::force(%d): the printer driver has no forced sending\n", on);
    return DOVA_E_SYSTEM;
}
