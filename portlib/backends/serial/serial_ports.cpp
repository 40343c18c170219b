#include "backends/serial/com.h"
#include "backends/serial/com_events.h"
#include "backends/serial/com_threads.h"
#include "port_registry.h"

#include <dova/dova.h>

void dovaRegisterSerialPorts(DovaPortRegistry& registry) {
    registry.add<WCom>(DOVA_IF_COM, 0);
    registry.add<WComA>(DOVA_IF_COM, 1);
    registry.add<WComE>(DOVA_IF_COM, 2);
}
