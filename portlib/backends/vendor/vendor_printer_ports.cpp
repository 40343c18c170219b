#include "backends/vendor/hprdh.h"
#include "backends/vendor/nrdtdh.h"
#include "backends/vendor/nrdtlm.h"
#include "port_registry.h"

#include <dova/dova.h>

// The libraries queue for themselves: one direct class serves every mode.
void dovaRegisterVendorPrinterPorts(DovaPortRegistry& registry) {
    for (int32_t mode = 0; mode <= 3; ++mode) {
        registry.add<WHPRDH>(DOVA_IF_HPRDH, mode);
        registry.add<WNrdtdh>(DOVA_IF_NRDTDH, mode);
        registry.add<WNrdtlm>(DOVA_IF_NRDTLM, mode);
    }
}
