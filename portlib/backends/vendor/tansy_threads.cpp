#include "backends/vendor/tansy_threads.h"

#include "backends/vendor/vendor_library.h"
#include "os/os_wait.h"
#include "trace.h"

#include <dova/dova.h>

namespace {

// The trace lines of one direction's overlapped helper.
struct HelperLines {
    const char* failed; // the pending transfer ended with an error
    const char* quit;   // the stop event ended the wait
    const char* error;  // the call failed at once
};
constexpr HelperLines writeLines{"DOVA: WGOR(%d/%d) dwErr=%d *****\n", "DOVA: WQuit\n",
                                 "DOVA: WriteFile dwErr=%d\n"};
constexpr HelperLines readLines{"DOVA: RGOR(%d/%d) dwErr=%d *****\n", "DOVA: RQuit\n",
                                "DOVA: ReadFile dwErr=%d\n"};

// No library reason: the wait for a pending transfer itself failed.
constexpr int waitFailed = -1;

class UlmpaxTransfer final : public DovaTransfer {
public:
    UlmpaxTransfer(const WTansy& port, SdHandle device, SdOverlapped& writeRecord,
                   os::Event& writeDone, SdOverlapped& readRecord, os::Event& readDone)
        : port_(port), device_(device), writeRecord_(writeRecord), writeDone_(writeDone),
          readRecord_(readRecord), readDone_(readDone) {}

    TransferResult write(const void* data, uint32_t length, const os::Event& stop) override {
        arm(writeRecord_, writeDone_);
        uint32_t done = 0;
        int32_t ok = port_.forced() ? DOVA_VENDOR_CALL(ulmpaxLibrary(), SD_WriteFile2, 0, device_,
                                                       data, length, &done, &writeRecord_)
                                    : DOVA_VENDOR_CALL(ulmpaxLibrary(), SD_WriteFile, 0, device_,
                                                       data, length, &done, &writeRecord_);
        TransferResult r = finish(ok, done, length, writeRecord_, writeDone_, stop, writeLines);
        // A write that took nothing is tried again after the engine's pause.
        if (r.status == TransferStatus::Done && r.count == 0) return TransferResult::failed(0);
        return r;
    }

    TransferResult read(void* buffer, uint32_t size, const os::Event& stop) override {
        arm(readRecord_, readDone_);
        uint32_t done = 0;
        int32_t ok = DOVA_VENDOR_CALL(ulmpaxLibrary(), SD_ReadFile, 0, device_, buffer, size, &done,
                                      &readRecord_);
        return finish(ok, done, size, readRecord_, readDone_, stop, readLines);
    }

    bool zeroReadEndsStream() const override { return false; }
    // The library no longer knows the device, or a pending transfer could
    // not be waited for: nothing queued can reach the printer.
    bool failureIsPermanent(int error) const override {
        return uint32_t(error) == SD_ERROR_INVALID_HANDLE || error == waitFailed;
    }

private:
    static void arm(SdOverlapped& record, const os::Event& done) {
        record.event = int32_t(done.waitHandle());
        record.error = 0;
        record.result = 0;
        record.transferred = 0;
    }

    // What one call came to: at once, or after the library finished it in
    // the background. The event is lowered before the call returns.
    static TransferResult finish(int32_t ok, uint32_t done, uint32_t offered, SdOverlapped& record,
                                 os::Event& doneEvent, const os::Event& stop,
                                 const HelperLines& lines) {
        TransferResult r = settle(ok, done, offered, record, doneEvent, stop, lines);
        doneEvent.reset();
        return r;
    }

    static TransferResult settle(int32_t ok, uint32_t done, uint32_t offered, SdOverlapped& record,
                                 os::Event& doneEvent, const os::Event& stop,
                                 const HelperLines& lines) {
        if (ok) return TransferResult::done(done < offered ? done : offered);
        uint32_t error = record.error;
        if (error != SD_ERROR_IO_PENDING) {
            if (error != SD_ERROR_INVALID_HANDLE) dovaTrace(lines.error, int32_t(error));
            return TransferResult::failed(int(error));
        }
        int which = os::waitAny(
            {{stop.waitHandle(), os::Want::Read}, {doneEvent.waitHandle(), os::Want::Read}},
            os::kWaitInfinite);
        if (which == 0) {
            dovaTrace("%s", lines.quit);
            return TransferResult::stopped();
        }
        if (which != 1) {
            // The transfer may still be running and own the record: the
            // record cannot be used again, so the device counts as lost.
            dovaTrace("DOVA: WAIT_FAILED %d\n", os::lastError());
            return TransferResult::failed(waitFailed);
        }
        // Lowering the event reads it, which orders the library's writes to
        // the record before the reads below.
        doneEvent.reset();
        uint32_t transferred = record.transferred < offered ? record.transferred : offered;
        if (record.result == 0) return TransferResult::done(transferred);
        dovaTrace(lines.failed, int32_t(transferred), int32_t(offered), int32_t(record.result));
        return TransferResult::failed(int(record.result));
    }

    const WTansy& port_;
    SdHandle device_;
    SdOverlapped& writeRecord_;
    os::Event& writeDone_;
    SdOverlapped& readRecord_;
    os::Event& readDone_;
};

} // namespace

WTansyA::~WTansyA() {
    WTansyA::release(0);
}

int32_t WTansyA::claim(int32_t /*timeout*/) {
    dovaTrace("DOVA: WTansyA::claim()\n");
    release(0);
    if (int32_t r = openDevice(SD_FILE_ATTRIBUTE_NORMAL | SD_FILE_FLAG_OVERLAPPED); r != DOVA_OK)
        return r;
    writeDone_ = os::Event::create();
    readDone_ = os::Event::create();
    if (!writeDone_.valid() || !readDone_.valid()) {
        release(0);
        return DOVA_E_EVENT;
    }
    if (int32_t r = openEngine(); r != DOVA_OK) {
        release(0);
        return r;
    }
    setTransfer(std::make_unique<UlmpaxTransfer>(*this, device(), writeRecord_, writeDone_,
                                                 readRecord_, readDone_));
    bool started = startThreads(
        [this] {
            runSendWorker("DOVA: WTansyA::procSend() Start\n", "DOVA: WTansyA::procSend() End\n");
        },
        [this] {
            runRecvWorker("DOVA: WTansyA::procRecv() Start\n", "DOVA: WTansyA::procRecv() End\n");
        },
        nullptr);
    if (!started) {
        release(0);
        return DOVA_E_THREAD;
    }
    return DOVA_OK;
}

int32_t WTansyA::release(int32_t timeout) {
    if (device() == SD_INVALID_HANDLE) return DOVA_OK;
    dovaTrace("DOVA: WTansyA::release(%d)\n", timeout);
    return releaseQueued(
        timeout, [](int32_t drained) { return drained; },
        [this] {
            closeDevice();
            writeDone_.close();
            readDone_.close();
        });
}
