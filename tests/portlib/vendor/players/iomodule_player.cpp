// Plays libIOModule.so. Scripted keys: "CreateIOModule" (0: no module),
// each slot's name for its result (defaults: open, close, lock, unlock 0;
// countPorts 1; the boolean slots 1), "write.written" (default all
// offered). Reads hand out the read data; only reads that find data are
// recorded, since a worker reads without end. The "opener" twin exports
// CreateIOModule alone.
#include "player.h"

#pragma GCC visibility push(default)
#include "backends/vendor/iomodule_library.h"
#pragma GCC visibility pop

using namespace player;

namespace {

int32_t open(IOModule*) {
    record("open()");
    return int32_t(result("open", 0));
}

int32_t close(IOModule*) {
    record("close()");
    return int32_t(result("close", 0));
}

int32_t countPorts(IOModule*, int32_t kind) {
    record("countPorts(" + num(kind) + ")");
    return int32_t(result("countPorts", 1));
}

int32_t selectKind(IOModule*, int32_t kind) {
    record("selectKind(" + num(kind) + ")");
    return int32_t(result("selectKind", 1));
}

int32_t setPortName(IOModule*, const char16_t* name, int32_t length) {
    record("setPortName(" + str16(name) + ", " + num(length) + ")");
    return int32_t(result("setPortName", 1));
}

#define PLAYED_SETTING(name)                                                                       \
    int32_t name(IOModule*, int32_t value) {                                                       \
        record(#name "(" + num(value) + ")");                                                      \
        return int32_t(result(#name, 1));                                                          \
    }
PLAYED_SETTING(setBaudRate)
PLAYED_SETTING(setParity)
PLAYED_SETTING(setByteSize)
PLAYED_SETTING(setStopBits)
PLAYED_SETTING(setFlow)

int32_t setNetworkAddress(IOModule*, const char16_t* text, int32_t value) {
    record("setNetworkAddress(" + str16(text) + ", " + num(value) + ")");
    return int32_t(result("setNetworkAddress", 1));
}

int32_t setNetworkPort(IOModule*, const char16_t* text, int32_t value) {
    record("setNetworkPort(" + str16(text) + ", " + num(value) + ")");
    return int32_t(result("setNetworkPort", 1));
}

int32_t write(IOModule*, const uint8_t* data, uint32_t size, uint32_t* written,
              uint32_t timeoutMs) {
    record("write(" + num(size) + ", " + num(timeoutMs) + ")");
    uint32_t n = uint32_t(result("write.written", size));
    took(data, n < size ? n : size);
    *written = n;
    return int32_t(result("write", 1));
}

int32_t read(IOModule*, uint8_t* buffer, uint32_t size, uint32_t* read, uint32_t timeoutMs) {
    *read = uint32_t(give(buffer, size));
    if (*read) record("read(" + num(size) + ", " + num(timeoutMs) + ")");
    return int32_t(result("read", 1));
}

int32_t lock(IOModule*, uint32_t timeoutMs) {
    record("lock(" + num(timeoutMs) + ")");
    return int32_t(result("lock", 0));
}

int32_t unlock(IOModule*) {
    record("unlock()");
    return int32_t(result("unlock", 0));
}

const IOModuleMainTable mainTable{open, close};
const IOModuleConnectionTable connectionTable{
    nullptr,   nullptr,     countPorts,  nullptr,    nullptr,           nullptr,
    nullptr,   nullptr,     nullptr,     nullptr,    nullptr,           nullptr,
    nullptr,   nullptr,     nullptr,     selectKind, setPortName,       setBaudRate,
    setParity, setByteSize, setStopBits, setFlow,    setNetworkAddress, setNetworkPort};
const IOModuleIoTable ioTable{nullptr, write, read, lock, unlock};
IOModule theModule{&mainTable, &connectionTable, &ioTable};

} // namespace

IOModule* CreateIOModule() {
    record("CreateIOModule()");
    return result("CreateIOModule", 1) ? &theModule : nullptr;
}

#ifndef PLAYER_OPENERS_ONLY
void DeleteIOModule(IOModule* module) {
    record(std::string("DeleteIOModule(") + (module == &theModule ? "module" : "?") + ")");
}
#endif
