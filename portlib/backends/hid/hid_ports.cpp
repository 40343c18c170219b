#include "backends/hid/hid_ald.h"
#include "backends/hid/hid_ibm_m4.h"
#include "backends/hid/hid_ibm_ti4.h"
#include "port_registry.h"

#include <dova/dova.h>

void dovaRegisterHidPorts(DovaPortRegistry& registry) {
    // One class per device serves every mode its target may be opened in:
    // TI4 keeps its receive thread in all of them.
    for (int32_t mode = 0; mode <= 3; ++mode) {
        registry.add<WHidIbmTI4>(DOVA_IF_IBMTI4, mode);
        registry.add<WHidIbmM4>(DOVA_IF_IBMM4, mode);
        registry.add<WHidAld>(DOVA_IF_ALD, mode);
    }
}
