#include "handle_table.h"

#include <map>

namespace {

std::map<uint32_t, std::unique_ptr<DovaBase>> ports;
uint32_t lastHandle = 0;
// The handle looked up last: the send tool writes byte by byte to one port,
// and a tree search per byte is a good part of that path.
uint32_t cachedHandle = 0;
DovaBase* cachedPort = nullptr;

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
    if (handle == cachedHandle && cachedPort) return cachedPort;
    auto it = ports.find(handle);
    if (it == ports.end()) return nullptr;
    cachedHandle = handle;
    cachedPort = it->second.get();
    return cachedPort;
}

bool dovaHandleRemove(uint32_t handle) {
    auto it = ports.find(handle);
    if (it == ports.end()) return false;
    if (handle == cachedHandle) cachedPort = nullptr;
    // Destroy before erasing, so the handle stays taken while the port closes.
    it->second.reset();
    ports.erase(it);
    return true;
}
