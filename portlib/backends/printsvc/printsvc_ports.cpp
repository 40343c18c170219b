#include "backends/printsvc/gw.h"
#include "backends/printsvc/ndx.h"
#include "backends/printsvc/wts.h"
#include "port_registry.h"

#include <dova/dova.h>

void dovaRegisterPrintServicePorts(DovaPortRegistry& registry) {
    // The services queue the data themselves behind one worker-thread
    // class each, whatever mode the target is opened in.
    for (int32_t mode = 0; mode <= 3; ++mode) {
        registry.add<WNDX>(DOVA_IF_NDX, mode);
        registry.add<WWTS>(DOVA_IF_WTS, mode);
        registry.add<WGW>(DOVA_IF_GW, mode);
    }
}
