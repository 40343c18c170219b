#include "backends/local/console.h"
#include "backends/local/file.h"
#include "port_registry.h"

#include <dova/dova.h>

// These ports behave alike in every open mode.
void dovaRegisterLocalPorts(DovaPortRegistry& registry) {
    for (int32_t mode = 0; mode <= 3; ++mode) {
        registry.add<WCon>(DOVA_IF_CON, mode);
        registry.add<WDump>(DOVA_IF_DUMP, mode);
        registry.add<WFile>(DOVA_IF_FILE, mode);
    }
}
