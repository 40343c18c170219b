#include "backends/xfs/xfs.h"
#include "port_registry.h"

#include <dova/dova.h>

void dovaRegisterXfsPorts(DovaPortRegistry& registry) {
    // The port has no queues to serve: one class for every mode its target
    // may be opened in.
    for (int32_t mode = 0; mode <= 3; ++mode)
        registry.add<WXFS>(DOVA_IF_XFS, mode);
}
