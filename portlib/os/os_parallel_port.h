// A parallel printer behind a DeviceNode: the parport lp driver (/dev/lpN)
// or a USB printer-class node (/dev/usb/lpN). Failing calls return false with
// the cause in os::lastError() (os::errorRequestUnsupported where the driver
// has no such request).
#pragma once

#include "os/os_device.h"

#include <cstdint>
#include <string>

namespace os {

// The status byte the port interface reports.
constexpr uint8_t kParallelPaperEmpty = 0x04;
constexpr uint8_t kParallelOffLine = 0x08;
constexpr uint8_t kParallelBusy = 0x40;
constexpr uint8_t kParallelSelected = 0x80;
bool parallelStatus(DeviceNode& node, uint8_t* status);
// The printer cannot take data now: paper out, off line, or in error.
bool parallelFault(uint8_t status);

// Initialises the printer (the init line of a parallel port, the class
// driver's soft reset of a USB printer).
bool parallelInit(DeviceNode& node);
// The IEEE 1284 device id (without its two length bytes). USB printers only.
bool parallelDeviceId(DeviceNode& node, std::string* id);
// Whether the node's driver can be waited on: the parport lp driver reports
// itself ready at all times.
bool parallelCanWait(DeviceNode& node);

} // namespace os
