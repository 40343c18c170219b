// HID devices as Linux shows them: hidraw nodes, found through sysfs
// (<sysfs>/class/hidraw/hidrawN/device: uevent with HID_ID, and the binary
// report_descriptor), reached through <dev>/hidrawN, and the feature report
// request of the hidraw driver. Both roots come from os_roots.h, so a test
// lays out a tree of its own.
#pragma once

#include "os/os_device.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace os {

struct HidDevice {
    std::string node; // the device node to open (<dev>/hidrawN)
    std::string name; // hidrawN
    uint16_t vendorId = 0;
    uint16_t productId = 0;
    std::vector<uint8_t> reportDescriptor; // empty when it could not be read
};

// The hidraw devices in ascending number order (hidraw2 before hidraw10).
// An entry whose uevent has no readable HID_ID is left out.
std::vector<HidDevice> hidDevices();

// HIDIOCGFEATURE: buffer[0] names the report on entry; the report (its id
// first) on return. The bytes received, or -1 (os::lastError()).
long hidGetFeature(DeviceNode& node, void* buffer, size_t size);

} // namespace os
