#include "backends/serial/com_events.h"

#include "os/os_error.h"
#include "os/os_serial_line.h"
#include "os/os_wait.h"
#include "trace.h"

#include <vector>

namespace {

// The line events the hook is given.
enum : uint32_t {
    kEvRxChar = 0x0001,
    kEvCts = 0x0008,
    kEvDsr = 0x0010,
    kEvBreak = 0x0040,
    kEvErr = 0x0080,
    kLineEvents = kEvCts | kEvDsr | kEvBreak | kEvErr,
};

// How often the modem lines are looked at: the system tells of data, but
// not of line changes on every driver.
constexpr uint32_t kLinePollMs = 20;

} // namespace

WComE::~WComE() {
    WComE::release(0);
}

int32_t WComE::claim(int32_t) {
    dovaTrace("DOVA: WComE::claim(%d)\n", no_);
    release(0);
    return startEngine("WComE", [this] { procWait(); });
}

int32_t WComE::release(int32_t timeout) {
    if (!node_.isOpen()) return DOVA_OK;
    dovaTrace("DOVA: WComE::release(%d)\n", timeout);
    return releaseLine(timeout);
}

void WComE::procWait() {
    dovaTrace("DOVA: WComE::procWait() Start\n");
    std::vector<uint8_t> block(getRecvBlockSize());
    uint32_t lines = 0;
    bool watchLines = modemControl_ && os::serialModemStatus(node_, &lines);
    os::SerialLineCounts counts;
    bool watchCounts = os::serialLineCounts(node_, &counts);
    const uint32_t period = watchLines || watchCounts ? kLinePollMs : os::kWaitInfinite;
    while (!stopping()) {
        int r = os::waitAny(
            {{stopEvent().waitHandle(), os::Want::Read}, {node_.handle(), os::Want::Read}}, period);
        if (r == 0 || stopping()) break;
        if (r == os::kWaitFailed) {
            dovaTrace("DOVA: WAIT_FAILED %d\n", os::lastError());
            if (pauseUnlessStopped(50)) break;
            continue;
        }
        uint32_t mask = r == 1 ? uint32_t(kEvRxChar) : 0u;
        uint32_t now = 0;
        if (watchLines && os::serialModemStatus(node_, &now)) {
            if ((now ^ lines) & os::kModemCtsOn) mask |= kEvCts;
            if ((now ^ lines) & os::kModemDsrOn) mask |= kEvDsr;
            lines = now;
        }
        os::SerialLineCounts c;
        if (watchCounts && os::serialLineCounts(node_, &c)) {
            if (c.breaks != counts.breaks) mask |= kEvBreak;
            if (c.errors != counts.errors) mask |= kEvErr;
            counts = c;
        }
        if (mask == 0) continue;
        dovaTrace("DOVA: dwEvt=%04X\n", mask);
        if (mask & kEvRxChar) {
            dovaTrace("DOVA:  EV_RXCHAR\n");
            long n = node_.readSome(block.data(), block.size());
            if (n > 0) {
                storeReceived(block.data(), uint32_t(n));
            } else if (n == 0 || !os::errorWouldBlock(os::lastError())) {
                // A hung-up or vanished line reads as ready with nothing to give.
                if (n < 0 && os::errorDeviceGone(os::lastError())) {
                    markDeviceLost();
                    waitForStop();
                    break;
                }
                if (pauseUnlessStopped(kLinePollMs)) break;
            }
        }
        if (mask & kLineEvents) {
            dovaTrace("DOVA:  EV_XXX\n");
            raiseLineEvents(mask);
        }
    }
    dovaTrace("DOVA: WComE::procWait() End\n");
}
