#include "backends/vendor/stario.h"
#include "port_registry.h"

#include <dova/dova.h>

void dovaRegisterVendorPorts(DovaPortRegistry& registry) {
    // The Star library does its own queueing: the direct class serves every
    // mode a STARIO target may be opened in.
    for (int32_t mode = 0; mode <= 3; ++mode)
        registry.add<WStarIO>(DOVA_IF_STARIO, mode);
}
