#include "backends/serial/aea.h"
#include "backends/serial/com.h"
#include "backends/serial/com_events.h"
#include "backends/serial/com_threads.h"
#include "backends/serial/ibmfp.h"
#include "port_registry.h"

#include <dova/dova.h>

void dovaRegisterSerialPorts(DovaPortRegistry& registry) {
    registry.add<WCom>(DOVA_IF_COM, 0);
    registry.add<WComA>(DOVA_IF_COM, 1);
    registry.add<WComE>(DOVA_IF_COM, 2);
    // The AEA link works on the caller's thread: one class for every mode.
    for (int32_t mode = 0; mode <= 3; ++mode)
        registry.add<WAea>(DOVA_IF_AEA, mode);
    // The IBM status link always runs its own protocol thread.
    for (int32_t mode = 0; mode <= 3; ++mode)
        registry.add<WIBMFP>(DOVA_IF_IBMFP, mode);
}
