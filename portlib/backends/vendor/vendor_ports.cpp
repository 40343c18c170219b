#include "backends/vendor/ibmdll.h"
#include "backends/vendor/ibmdll_threads.h"
#include "backends/vendor/iom.h"
#include "backends/vendor/iom_threads.h"
#include "backends/vendor/kzapi.h"
#include "backends/vendor/stario.h"
#include "backends/vendor/tansy.h"
#include "backends/vendor/tansy_threads.h"
#include "port_registry.h"

#include <dova/dova.h>

void dovaRegisterVendorPorts(DovaPortRegistry& registry) {
    // The Star and KZ libraries do their own queueing: the direct class
    // serves every mode their targets may be opened in.
    for (int32_t mode = 0; mode <= 3; ++mode) {
        registry.add<WStarIO>(DOVA_IF_STARIO, mode);
        registry.add<WKzapi>(DOVA_IF_KZAPI, mode);
    }
    registry.add<WIBMDLL>(DOVA_IF_IBMDLL, 0);
    registry.add<WIBMDLLA>(DOVA_IF_IBMDLL, 1);
    registry.add<WTansy>(DOVA_IF_TANSY, 0);
    registry.add<WTansyA>(DOVA_IF_TANSY, 1);
    registry.add<WIOM>(DOVA_IF_IOM, 0);
    registry.add<WIOMA>(DOVA_IF_IOM, 1);
}
