#include "backends/hid/hid_ibm_ti4.h"

#include "os/os_error.h"
#include "os/os_hid.h"
#include "os/os_wait.h"
#include "trace.h"

#include <dova/dova.h>

#include <algorithm>
#include <vector>

namespace {

constexpr uint32_t kShortReportData = 250;
constexpr uint8_t kShortReportId = 2;
constexpr uint8_t kLongReportId = 1;
constexpr uint8_t kFeatureReportId = 1;
// A read that failed for a reason that may pass is tried again after this.
constexpr uint32_t kRetryPauseMs = 50;

} // namespace

WHidIbmTI4::~WHidIbmTI4() {
    WHidIbmTI4::release(0);
}

uint32_t WHidIbmTI4::getIFType() {
    return DOVA_IF_IBMTI4;
}

int32_t WHidIbmTI4::claim(int32_t) {
    dovaTrace("DOVA: WHidIbmTI4::claim(%d)\n", no_);
    release(0);
    if (int32_t r = openDevice(kVendorId, kProductId, kUsage); r != DOVA_OK) return r;
    if (!createEvents()) {
        release(0);
        return DOVA_E_EVENT;
    }
    if (!startThreads(
            nullptr, [this] { procRecv(); }, nullptr)) {
        release(0);
        return DOVA_E_THREAD;
    }
    return DOVA_OK;
}

int32_t WHidIbmTI4::release(int32_t timeout) {
    if (!node_.isOpen()) return DOVA_OK;
    dovaTrace("DOVA: WHidIbmTI4::release(%d)\n", timeout);
    // Nothing is queued: send writes on the caller's thread.
    int32_t kept = DovaBase::waitSendDone(timeout);
    stopThreads();
    closeEvents();
    closeNode();
    return kept;
}

int32_t WHidIbmTI4::send(const void* data, uint32_t length, uint32_t* written, uint32_t, uint32_t,
                         uint32_t) {
    dovaTrace("DOVA: WHidIbmTI4::send()\n");
    if (written) *written = 0;
    const uint32_t reportLength = outputReportLength();
    const uint32_t room = reportLength > kHeaderSize ? reportLength - kHeaderSize : 0;
    if (reportLength < kHeaderSize || length > std::min(kMaxData, room)) return DOVA_E_HIDREPORT;
    if (!node_.isOpen()) return DOVA_E_WRITE;

    std::vector<uint8_t> report(std::max<uint32_t>(reportLength, 1024), 0);
    report[0] = length <= kShortReportData ? kShortReportId : kLongReportId;
    report[1] = uint8_t((length + 4) & 0xFF);
    report[2] = uint8_t((length + 4) >> 8);
    report[3] = 0x01;
    if (length) std::copy_n(static_cast<const uint8_t*>(data), length, report.begin() + 7);

    // hidraw takes a report whole; the loop serves a node that takes less.
    uint32_t done = 0;
    int32_t result = DOVA_OK;
    while (done < reportLength) {
        long r = node_.writeSome(report.data() + done, reportLength - done);
        if (r > 0) {
            done += uint32_t(r);
            continue;
        }
        if (r < 0 && !os::errorWouldBlock(os::lastError())) {
            result = DOVA_E_WRITE;
            break;
        }
        int w = os::waitAny({{node_.handle(), os::Want::Write}}, kDirectWriteMs);
        if (w == os::kWaitTimeout || w == os::kWaitFailed) {
            result = DOVA_E_WRITE;
            break;
        }
    }
    if (written) *written = done > kHeaderSize ? std::min(done - kHeaderSize, length) : 0;
    return result;
}

int32_t WHidIbmTI4::recv(void*, uint32_t, uint32_t* read, uint32_t) {
    if (read) *read = 0;
    const uint32_t length = featureReportLength();
    if (node_.isOpen() && length > 0) {
        std::vector<uint8_t> feature(length, 0);
        feature[0] = kFeatureReportId;
        os::hidGetFeature(node_, feature.data(), feature.size());
    }
    return DOVA_E_NOTSUPPORTED;
}

void WHidIbmTI4::procRecv() {
    dovaTrace("DOVA: WHidIbmTI4::procRecv() Start\n");
    std::vector<uint8_t> buffer(inputReportLength() + 5);
    while (!stopping()) {
        int w = os::waitAny(
            {{stopEvent().waitHandle(), os::Want::Read}, {node_.handle(), os::Want::Read}},
            os::kWaitInfinite);
        if (w == 0) break;
        if (w == os::kWaitFailed) {
            if (pauseUnlessStopped(kRetryPauseMs)) break;
            continue;
        }
        long r = node_.readSome(buffer.data(), buffer.size());
        if (r > 0) {
            if (recvHook) recvHook(this, uint32_t(r));
            continue;
        }
        const int error = os::lastError();
        if (r < 0 && os::errorWouldBlock(error)) continue;
        if (r < 0 && os::errorDeviceGone(error)) {
            // Unplugged: nothing more will come until the next claim.
            waitForStop();
            break;
        }
        if (pauseUnlessStopped(kRetryPauseMs)) break;
    }
    dovaTrace("DOVA: WHidIbmTI4::procRecv() End\n");
}
