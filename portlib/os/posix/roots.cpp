#include "os/os_roots.h"

#include <cstdlib>

namespace os {
namespace {

std::string rootFrom(const char* variable, const char* fallback) {
    const char* value = std::getenv(variable);
    std::string root = value && *value ? value : fallback;
    while (root.size() > 1 && root.back() == '/')
        root.pop_back();
    return root;
}

} // namespace

std::string sysfsRoot() {
    return rootFrom("DOVA_SYSFS_ROOT", "/sys");
}

std::string devRoot() {
    return rootFrom("DOVA_DEV_ROOT", "/dev");
}

} // namespace os
