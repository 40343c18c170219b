#include "backends/hid/hid.h"

#include "backends/hid/hid_report_descriptor.h"
#include "os/os_hid.h"
#include "trace.h"

#include <dova/dova.h>

#include <cstring>

namespace {

bool capsOf(const os::HidDevice& device, HidReportCaps* caps) {
    return parseHidReportDescriptor(device.reportDescriptor.data(), device.reportDescriptor.size(),
                                    caps);
}

} // namespace

int WHid::devicePath(char* out, uint16_t vendorId, uint16_t productId, uint16_t usage) {
    dovaTrace("DOVA: WHid::devicePath(%04Xh:%04Xh:%04Xh)\n", vendorId, productId, usage);
    out[0] = '\0';
    for (const os::HidDevice& device : os::hidDevices()) {
        if (device.vendorId != vendorId || device.productId != productId) continue;
        HidReportCaps caps;
        if (!capsOf(device, &caps) || caps.usage != usage) continue;
        // Held by another port or program: not ours to take.
        if (!os::DeviceNode::open(device.node.c_str()).isOpen()) continue;
        inputReportLength_ = caps.inputReportLength;
        outputReportLength_ = caps.outputReportLength;
        featureReportLength_ = caps.featureReportLength;
        std::strncpy(out, device.node.c_str(), kPathSize - 1);
        out[kPathSize - 1] = '\0';
        return 1;
    }
    return 0;
}

bool WHid::readLengthsOf(const char* path) {
    const std::string target = os::DeviceNode::resolvePath(path);
    for (const os::HidDevice& device : os::hidDevices()) {
        if (os::DeviceNode::resolvePath(device.node.c_str()) != target) continue;
        HidReportCaps caps;
        if (!capsOf(device, &caps)) return false;
        inputReportLength_ = caps.inputReportLength;
        outputReportLength_ = caps.outputReportLength;
        featureReportLength_ = caps.featureReportLength;
        return true;
    }
    return false;
}

int32_t WHid::openDevice(uint16_t vendorId, uint16_t productId, uint16_t usage) {
    if (pathEmpty()) {
        char found[kPathSize];
        if (!devicePath(found, vendorId, productId, usage) || !found[0]) return DOVA_E_ADDRESS;
        setName(found);
    } else if (inputReportLength_ == 0 && outputReportLength_ == 0 && featureReportLength_ == 0) {
        readLengthsOf(path());
    }
    node_ = os::DeviceNode::open(path());
    return node_.isOpen() ? DOVA_OK : DOVA_E_OPEN;
}
