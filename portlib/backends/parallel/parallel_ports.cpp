#include "backends/parallel/kplpt.h"
#include "backends/parallel/kplpt_threads.h"
#include "backends/parallel/lpt.h"
#include "backends/parallel/lpt_threads.h"
#include "port_registry.h"

#include <dova/dova.h>

void dovaRegisterParallelPorts(DovaPortRegistry& registry) {
    registry.add<WLpt>(DOVA_IF_LPT, 0);
    registry.add<WLptA>(DOVA_IF_LPT, 1);
    registry.add<WKplpt>(DOVA_IF_KPLPT, 0);
    registry.add<WKplptA>(DOVA_IF_KPLPT, 1);
}
