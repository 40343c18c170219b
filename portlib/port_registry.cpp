#include "port_registry.h"

void DovaPortRegistry::add(uint32_t type, int32_t mode, DovaPortMaker make) {
    for (Row& row : rows_) {
        if (row.type == type && row.mode == mode) {
            row.make = make;
            return;
        }
    }
    rows_.push_back(Row{type, mode, make});
}

DovaPortMaker DovaPortRegistry::find(uint32_t type, int32_t mode) const {
    for (const Row& row : rows_)
        if (row.type == type && row.mode == mode) return row.make;
    return nullptr;
}
