#include "backends/vendor/vendor_library.h"

#include "trace.h"

#include <string>

bool VendorLibrary::isLoaded() {
    std::call_once(once_, [this] {
        std::string why;
        library_ = os::Library::load(name_, &why);
        library_.keepLoaded();
        if (!library_.isLoaded()) dovaTrace("DOVA: %s not loaded: %.900s\n", name_, why.c_str());
    });
    return library_.isLoaded();
}

void* VendorLibrary::symbol(const char* function) {
    return isLoaded() ? library_.symbol(function) : nullptr;
}
