#include "backends/serial/com.h"

#include "os/os_clock.h"
#include "os/os_roots.h"
#include "trace.h"

namespace {

// How often the driver's output is looked at while release lets it drain.
constexpr uint32_t kDrainPollMs = 10;

} // namespace

WCom::~WCom() {
    WCom::release(0);
}

std::string WCom::defaultNode(int32_t no) const {
    return os::devRoot() + "/ttyS" + std::to_string(no - 1);
}

int32_t WCom::claim(int32_t) {
    dovaTrace("DOVA: WCom::claim(%d)\n", no_);
    release(0);
    if (int32_t r = openDevice(); r != DOVA_OK) return r;
    if (!startComm()) {
        release(0);
        return DOVA_E_LINESETUP;
    }
    return DOVA_OK;
}

int32_t WCom::release(int32_t timeout) {
    if (!node_.isOpen()) return DOVA_OK;
    dovaTrace("DOVA: WCom::release(%d)\n", timeout);
    int32_t result = waitSendDone(timeout);
    if (result == 0 && timeout != 0) result = drainDriver(timeout);
    dropLines();
    // A line that does not drain would hold the close: what is left is lost anyway.
    if (result != 0 || timeout == 0) os::serialFlush(node_, true, false);
    closeDevice();
    return result;
}

bool WCom::startComm() {
    dovaTrace("DOVA: startComm\n");
    driver_ = stored_;
    if (!applyDriver()) return false;
    activeTimeouts_ = storedTimeouts_;
    uint32_t status = 0;
    modemControl_ = os::serialModemStatus(node_, &status);
    if (!modemControl_)
        dovaTrace("DOVA: '%s' has no modem lines: DTR/RTS not set\n", path_.c_str());
    raiseLines();
    return true;
}

void WCom::raiseLines() {
    if (!modemControl_) return;
    os::serialSetLine(node_, os::ModemLine::Dtr, driver_.dtrControl != LineControl::Disable);
    // Under the system's RTS/CTS flow the system drives RTS itself.
    if (!driver_.outxCtsFlow)
        os::serialSetLine(node_, os::ModemLine::Rts, driver_.rtsControl != LineControl::Disable);
}

bool WCom::applyDriver() {
    dsrFlow_.store(driver_.outxDsrFlow);
    return os::serialApply(node_, driver_.lineSettings());
}

int32_t WCom::drainDriver(int32_t timeout) {
    uint32_t pending = 0;
    if (!os::serialPendingOutput(node_, &pending)) return 0;
    uint32_t since = os::tickCount();
    while (pending != 0) {
        os::sleepMs(kDrainPollMs);
        uint32_t now = 0;
        if (!os::serialPendingOutput(node_, &now)) return 0;
        if (now != pending) {
            pending = now;
            since = os::tickCount();
        } else if (uint32_t(os::tickCount() - since) > uint32_t(timeout)) {
            return 1;
        }
    }
    return 0;
}

void WCom::dropLines() {
    if (!modemControl_) {
        dovaTrace("DOVA: '%s' has no modem lines: DTR/RTS not dropped\n", path_.c_str());
        return;
    }
    os::serialSetLine(node_, os::ModemLine::Dtr, false);
    os::serialSetLine(node_, os::ModemLine::Rts, false);
}

bool WCom::dsrHolds() {
    if (!dsrFlow_.load()) return false;
    uint32_t status = 0;
    // A line that cannot tell its DSR does not hold output for it.
    if (!os::serialModemStatus(node_, &status)) return false;
    return !(status & os::kModemDsrOn);
}

int32_t WCom::isReady() {
    if (!node_.isOpen()) return 0;
    const int32_t flow = stored_.flow();
    if (flow == DOVA_FLOW_NONE) return 0;
    // XOFF holds are not reported by the system: an XON/XOFF line counts as ready.
    if (flow == DOVA_FLOW_XONXOFF) return 1;
    uint32_t status = 0;
    if (!os::serialModemStatus(node_, &status)) return 0;
    if (stored_.dtrControl == LineControl::Handshake)
        return driver_.outxDsrFlow && !(status & os::kModemDsrOn) ? 0 : 1;
    return driver_.outxCtsFlow && !(status & os::kModemCtsOn) ? 0 : 1;
}

int32_t WCom::force(int32_t on) {
    if (on == forced_) return DOVA_OK;
    if (!node_.isOpen()) return DOVA_E_FORCE;
    ComDcb next = driver_;
    if (on) {
        next.outxCtsFlow = next.outxDsrFlow = next.outX = false;
    } else {
        next.outxCtsFlow = stored_.outxCtsFlow;
        next.outxDsrFlow = stored_.outxDsrFlow;
        next.outX = stored_.outX;
    }
    forced_ = on;
    driver_ = next;
    return applyDriver() ? DOVA_OK : DOVA_E_FORCE;
}

int32_t WCom::setHostBusy(int32_t busy) {
    if (!node_.isOpen()) return DOVA_E_FORCE;
    os::ModemLine line;
    if (stored_.dtrControl == LineControl::Handshake)
        line = os::ModemLine::Dtr;
    else if (stored_.rtsControl == LineControl::Handshake)
        line = os::ModemLine::Rts;
    else
        return DOVA_E_SYSTEM;
    return os::serialSetLine(node_, line, busy == 0) ? DOVA_OK : DOVA_E_PARAM;
}

int32_t WCom::purgeSend() {
    return os::serialFlush(node_, true, false) ? DOVA_OK : DOVA_E_PURGE;
}

int32_t WCom::purgeRecv() {
    return os::serialFlush(node_, false, true) ? DOVA_OK : DOVA_E_PURGE;
}

int32_t WCom::storeAndApply(const ComDcb& next) {
    stored_ = next;
    if (!node_.isOpen()) return DOVA_OK;
    driver_ = stored_;
    if (!applyDriver()) return DOVA_E_PARAM;
    raiseLines();
    return DOVA_OK;
}

int32_t WCom::getCommState(DovaCommState* state) {
    if (!state) return DOVA_E_PARAM;
    if (node_.isOpen()) {
        os::SerialSettings line;
        if (!os::serialRead(node_, &line)) return DOVA_E_PARAM;
        ComDcb now = driver_;
        now.takeLine(line);
        // The flow the port keeps itself is not the line's to report.
        now.dtrControl = stored_.dtrControl;
        now.rtsControl = stored_.rtsControl;
        stored_ = now;
    }
    *state = stored_.commState();
    return DOVA_OK;
}

int32_t WCom::setCommState(const DovaCommState* state) {
    if (!state || state->baudRate <= 0 || state->byteSize < 4 || state->byteSize > 8 ||
        state->parity < 0 || state->parity > 4 || state->stopBits < 0 || state->stopBits > 2 ||
        !comFlowValid(state->flow))
        return DOVA_E_PARAM;
    ComDcb next = stored_;
    next.setCommState(*state);
    return storeAndApply(next);
}

int32_t WCom::getBaudRate(int32_t* value) {
    if (value) *value = int32_t(stored_.baudRate);
    return DOVA_OK;
}

int32_t WCom::setBaudRate(int32_t value) {
    if (value <= 0) return DOVA_E_PARAM;
    ComDcb next = stored_;
    next.baudRate = uint32_t(value);
    return storeAndApply(next);
}

int32_t WCom::getByteSize(int32_t* value) {
    if (value) *value = stored_.byteSize;
    return DOVA_OK;
}

int32_t WCom::setByteSize(int32_t value) {
    if (value < 4 || value > 8) return DOVA_E_PARAM;
    ComDcb next = stored_;
    next.byteSize = value;
    return storeAndApply(next);
}

int32_t WCom::getParity(int32_t* value) {
    if (value) *value = stored_.parity;
    return DOVA_OK;
}

int32_t WCom::setParity(int32_t value) {
    if (value < DOVA_PARITY_NONE || value > DOVA_PARITY_SPACE) return DOVA_E_PARAM;
    ComDcb next = stored_;
    next.parity = value;
    return storeAndApply(next);
}

int32_t WCom::getStopBits(int32_t* value) {
    if (value) *value = stored_.stopBits;
    return DOVA_OK;
}

int32_t WCom::setStopBits(int32_t value) {
    if (value < DOVA_STOPBITS_1 || value > DOVA_STOPBITS_2) return DOVA_E_PARAM;
    ComDcb next = stored_;
    next.stopBits = value;
    return storeAndApply(next);
}

int32_t WCom::getFlow(int32_t* value) {
    if (value) *value = stored_.flow();
    return DOVA_OK;
}

int32_t WCom::setFlow(int32_t value) {
    if (!comFlowValid(value)) return DOVA_E_PARAM;
    ComDcb next = stored_;
    next.setFlow(value);
    return storeAndApply(next);
}
