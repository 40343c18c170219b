#include "engine/descriptor_transfer.h"

#include "os/os_io.h"
#include "os/os_wait.h"
#include "trace.h"

#include <algorithm>

namespace {

// The longest pause between two attempts on a device that cannot be waited
// on: short against a receipt printer's own pace, long enough not to spin.
constexpr uint32_t kLongestPaceMs = 8;

} // namespace

bool DescriptorTransfer::waitReady(bool forWrite, const os::Event& stop, uint32_t round,
                                   int* error) {
    *error = 0;
    int r;
    if (kind_ == Kind::UnpollableNode) {
        r = os::waitAny({{stop.waitHandle(), os::Want::Read}},
                        std::min<uint32_t>(1u << std::min<uint32_t>(round, 3), kLongestPaceMs));
    } else {
        r = os::waitAny({{stop.waitHandle(), os::Want::Read},
                         {handle_, forWrite ? os::Want::Write : os::Want::Read}},
                        os::kWaitInfinite);
    }
    if (r == 0) {
        dovaTrace(forWrite ? "DOVA: WQuit\n" : "DOVA: RQuit\n");
        return true;
    }
    if (r == os::kWaitFailed) {
        *error = os::lastError();
        dovaTrace("DOVA: WAIT_FAILED %d\n", *error);
    }
    return false;
}

TransferResult DescriptorTransfer::write(const void* data, uint32_t length, const os::Event& stop) {
    for (uint32_t round = 0;; ++round) {
        long n = kind_ == Kind::Socket ? os::socketSendSome(handle_, data, length)
                                       : os::fileWriteSome(handle_, data, length);
        // A node that took nothing is busy, like one that would block.
        if (n > 0 || (n == 0 && length == 0)) return TransferResult::done(uint32_t(n));
        if (n < 0) {
            int code = os::lastError();
            if (!os::errorWouldBlock(code)) {
                if (kind_ != Kind::Socket) dovaTrace("DOVA: WriteFile dwErr=%d\n", code);
                return TransferResult::failed(code);
            }
        }
        int error = 0;
        if (waitReady(true, stop, round, &error)) return TransferResult::stopped();
        if (error != 0) return TransferResult::failed(error);
    }
}

TransferResult DescriptorTransfer::read(void* buffer, uint32_t size, const os::Event& stop) {
    for (uint32_t round = 0;; ++round) {
        long n = kind_ == Kind::Socket ? os::socketRecvSome(handle_, buffer, size)
                                       : os::fileReadSome(handle_, buffer, size);
        if (n >= 0) return TransferResult::done(uint32_t(n));
        int code = os::lastError();
        if (!os::errorWouldBlock(code)) {
            if (kind_ != Kind::Socket) dovaTrace("DOVA: ReadFile dwErr=%d\n", code);
            return TransferResult::failed(code);
        }
        int error = 0;
        if (waitReady(false, stop, round, &error)) return TransferResult::stopped();
        if (error != 0) return TransferResult::failed(error);
    }
}

bool DescriptorTransfer::failureIsPermanent(int error) const {
    return os::errorConnectionLost(error);
}
