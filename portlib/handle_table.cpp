#include "handle_table.h"

#include <map>

namespace {

std::map<uint32_t, std::unique_ptr<DovaBase>> ports;
uint32_t lastHandle = 0;

} // namespace

uint32_t dovaHandleAdd(std::unique_ptr<DovaBase> port) {
    uint32_t handle = lastHandle;
    do {
        ++handle;
    } while (handle == 0 || handle == 0xFFFFFFFFu || ports.count(handle) != 0);
    lastHandle = handle;
    ports.emplace(handle, std::move(port));
    return handle;
}

DovaBase* dovaHandleFind(uint32_t handle) {
    auto it = ports.find(handle);
    return it == ports.end() ? nullptr : it->second.get();
}

bool dovaHandleRemove(uint32_t handle) {
    auto it = ports.find(handle);
    if (it == ports.end()) return false;
    // Destroy before erasing, so the handle stays taken while the port closes.
    it->second.reset();
    ports.erase(it);
    return true;
}
