#include "backends/parallel/lpt.h"
#include "backends/parallel/lpt_threads.h"
#include "port_registry.h"

#include <dova/dova.h>

void dovaRegisterParallelPorts(DovaPortRegistry& registry) {
    registry.add<WLpt>(DOVA_IF_LPT, 0);
    registry.add<WLptA>(DOVA_IF_LPT, 1);
}
