#include "os/os_hid.h"

#include "os/os_roots.h"

#include <dirent.h>
#include <linux/hidraw.h>
#include <sys/ioctl.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

namespace os {
namespace {

// "hidraw12" -> 12; -1 for any other name.
long hidrawNumber(const char* name) {
    static const char prefix[] = "hidraw";
    const size_t n = sizeof prefix - 1;
    if (std::string(name).compare(0, n, prefix) != 0 || name[n] == '\0') return -1;
    long number = 0;
    for (const char* p = name + n; *p; ++p) {
        if (*p < '0' || *p > '9' || number > 100000) return -1;
        number = number * 10 + (*p - '0');
    }
    return number;
}

// HID_ID=bus:vendor:product, each hex (0003:000004B3:00004535).
bool readHidId(const std::string& uevent, uint16_t* vendor, uint16_t* product) {
    std::ifstream in(uevent);
    std::string line;
    while (std::getline(in, line)) {
        if (line.rfind("HID_ID=", 0) != 0) continue;
        unsigned bus = 0, v = 0, p = 0;
        if (std::sscanf(line.c_str() + 7, "%x:%x:%x", &bus, &v, &p) != 3) return false;
        *vendor = uint16_t(v);
        *product = uint16_t(p);
        return true;
    }
    return false;
}

std::vector<uint8_t> readDescriptor(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::vector<uint8_t> bytes;
    // One byte more than a descriptor may have, so that an oversized one
    // is seen as such and refused by the parser.
    constexpr size_t limit = 4097;
    char buffer[limit];
    in.read(buffer, limit);
    bytes.assign(buffer, buffer + in.gcount());
    return bytes;
}

} // namespace

std::vector<HidDevice> hidDevices() {
    const std::string folder = sysfsRoot() + "/class/hidraw";
    std::vector<std::pair<long, std::string>> names;
    if (DIR* d = ::opendir(folder.c_str())) {
        while (const dirent* e = ::readdir(d)) {
            const long n = hidrawNumber(e->d_name);
            if (n >= 0) names.emplace_back(n, e->d_name);
        }
        ::closedir(d);
    }
    std::sort(names.begin(), names.end());
    std::vector<HidDevice> found;
    for (const auto& [n, name] : names) {
        HidDevice device;
        const std::string entry = folder + "/" + name + "/device";
        if (!readHidId(entry + "/uevent", &device.vendorId, &device.productId)) continue;
        device.reportDescriptor = readDescriptor(entry + "/report_descriptor");
        device.node = devRoot() + "/" + name;
        device.name = name;
        found.push_back(std::move(device));
    }
    return found;
}

long hidGetFeature(DeviceNode& node, void* buffer, size_t size) {
    return node.control(HIDIOCGFEATURE(size), buffer);
}

} // namespace os
