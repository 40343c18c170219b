#include "os/os_installer.h"

#include "os/os_config.h"

namespace os {

std::string installedComponentPath(const char* componentId) {
    if (!componentId || !*componentId) return {};
    return configString("libraries", componentId).value_or("");
}

} // namespace os
