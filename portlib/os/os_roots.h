// Where device discovery looks: the system's device tree and device nodes,
// or a tree a test laid out of its own (DOVA_SYSFS_ROOT, DOVA_DEV_ROOT). Read
// afresh at each call, so each claim sees the current setting.
#pragma once

#include <string>

namespace os {

// The sysfs root, "/sys" unless DOVA_SYSFS_ROOT names another; no trailing "/".
std::string sysfsRoot();
// The device-node root, "/dev" unless DOVA_DEV_ROOT names another; no trailing "/".
std::string devRoot();

} // namespace os
