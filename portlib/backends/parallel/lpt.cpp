#include "backends/parallel/lpt.h"

#include "os/os_parallel_port.h"
#include "os/os_roots.h"
#include "trace.h"

#include <cstring>

namespace {

constexpr uint8_t kParallelInit = 1;
constexpr uint32_t kResetDev = 7;

} // namespace

WLpt::~WLpt() {
    WLpt::release(0);
}

std::string WLpt::defaultNode(int32_t no) const {
    return os::devRoot() + "/lp" + std::to_string(no - 1);
}

bool WLpt::nodeCanWait() {
    return os::parallelCanWait(node_);
}

int32_t WLpt::claim(int32_t) {
    dovaTrace("DOVA: WLpt::claim(%d)\n", no_);
    release(0);
    if (int32_t r = openDevice(); r != DOVA_OK) return r;
    activeTimeouts_ = storedTimeouts_;
    return DOVA_OK;
}

int32_t WLpt::release(int32_t timeout) {
    if (!node_.isOpen()) return DOVA_OK;
    dovaTrace("DOVA: WLpt::release(%d)\n", timeout);
    int32_t result = waitSendDone(timeout);
    closeDevice();
    return result;
}

int32_t WLpt::isReady() {
    uint8_t status = 0;
    if (!node_.isOpen() || !os::parallelStatus(node_, &status)) return 0;
    return os::parallelFault(status) ? 0 : 1;
}

int32_t WLpt::reset() {
    return setParInfo(kParallelInit) == DOVA_OK ? DOVA_OK : DOVA_E_RESET;
}

int32_t WLpt::escapeCommFunction(uint32_t function) {
    if (function == kResetDev) return os::parallelInit(node_) ? DOVA_OK : DOVA_E_SYSTEM;
    return WVcomm::escapeCommFunction(function);
}

int32_t WLpt::getDeviceIdSize(uint32_t* size) {
    std::string id;
    if (!size || !os::parallelDeviceId(node_, &id)) return DOVA_E_SYSTEM;
    *size = uint32_t(id.size());
    return DOVA_OK;
}

int32_t WLpt::getDeviceId(char* buffer, uint32_t size) {
    std::string id;
    if (!buffer || size == 0 || !os::parallelDeviceId(node_, &id)) return DOVA_E_SYSTEM;
    const size_t n = std::min<size_t>(id.size(), size - 1);
    std::memcpy(buffer, id.data(), n);
    buffer[n] = '\0';
    return DOVA_OK;
}

int32_t WLpt::get1284Mode(uint16_t*, uint16_t*) {
    // Linux's printer drivers do not report the IEEE 1284 modes.
    return DOVA_E_SYSTEM;
}

int32_t WLpt::getParStatus(uint8_t* status) {
    uint8_t s = 0;
    if (!status || !os::parallelStatus(node_, &s)) return DOVA_E_SYSTEM;
    *status = s;
    return DOVA_OK;
}

int32_t WLpt::setParInfo(uint8_t init) {
    if (!node_.isOpen()) return DOVA_E_SYSTEM;
    if (!(init & kParallelInit)) return DOVA_OK;
    return os::parallelInit(node_) ? DOVA_OK : DOVA_E_SYSTEM;
}
