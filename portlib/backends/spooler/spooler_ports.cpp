#include "backends/spooler/spooler.h"
#include "port_registry.h"

#include <dova/dova.h>

// The spooler does its own queueing, so one class serves every open mode.
void dovaRegisterSpoolerPorts(DovaPortRegistry& registry) {
    for (int32_t mode = 0; mode <= 3; ++mode)
        registry.add<WSpooler>(DOVA_IF_SPOOLER, mode);
}
