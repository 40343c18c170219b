#include "backends/printsvc/ndx.h"

#include "backends/printsvc/wide_name.h"
#include "backends/vendor/vendor_library.h"
#include "os/os_installer.h"
#include "trace.h"

#include <dova/dova.h>

#include <cstdio>
#include <string>

namespace {

// The installer component the print service is installed as.
constexpr char componentId[] = "{4B9E2D70-A3C5-41F8-8D26-5F0B17E9C3A4}";

VendorLibrary& library() {
    // Where the installation put the library, else the loader's search.
    static const std::string name = [] {
        std::string installed = os::installedComponentPath(componentId);
        return installed.empty() ? std::string("NDX.dll") : installed;
    }();
    static VendorLibrary ndx(name.c_str());
    return ndx;
}

constexpr int32_t missing = int32_t(0x80009999u);
constexpr uint32_t sendTimeoutMs = 1000;
constexpr uint32_t resetHow = 2;

// The send worker's way to the service: one NDX_Send per call, bounded by
// its own time-out, so the stop event is not waited on here.
class NdxTransfer final : public DovaTransfer {
public:
    explicit NdxTransfer(NDX_HANDLE handle) : handle_(handle) {}

    TransferResult write(const void* data, uint32_t length, const os::Event&) override {
        uint32_t sent = 0;
        int32_t r =
            DOVA_VENDOR_CALL(library(), NDX_Send, missing, handle_, uint32_t(0), uint32_t(0),
                             sendTimeoutMs, length, static_cast<const uint8_t*>(data), &sent);
        if (sent > length) sent = length;
        if (r != 0) return sent ? TransferResult::done(sent) : TransferResult::failed(r);
        // A send that took nothing is tried again after the engine's pause,
        // not at once.
        return sent ? TransferResult::done(sent) : TransferResult::failed(0);
    }
    TransferResult read(void*, uint32_t, const os::Event&) override {
        return TransferResult::done(0);
    }
    bool zeroReadEndsStream() const override { return false; }
    bool failureIsPermanent(int) const override { return false; }

private:
    NDX_HANDLE handle_;
};

} // namespace

WNDX::WNDX() {
    DOVA_VENDOR_CALL(library(), NDX_Initialize, missing);
}

WNDX::~WNDX() {
    WNDX::release(0);
    DOVA_VENDOR_CALL(library(), NDX_Terminate, missing);
}

uint32_t WNDX::getIFType() {
    return DOVA_IF_NDX;
}

const char* WNDX::getTypeName() {
    return "NDX";
}

int32_t WNDX::getPort(uint32_t* port) {
    if (!port) return DOVA_E_PARAM;
    *port = port_;
    return DOVA_OK;
}

int32_t WNDX::setPort(uint32_t port) {
    port_ = port;
    return DOVA_OK;
}

int32_t WNDX::claim(int32_t) {
    dovaTrace("DOVA: WNDX::claim()\n");
    release(0);
    if (name_.empty()) {
        if (no_ <= 0) return DOVA_E_ADDRESS;
        char device[24];
        std::snprintf(device, sizeof device, "ULMPRT%03d", int(no_));
        name_ = device;
    }
    std::string host = usableAddress();
    if (!host.empty()) host += ":" + std::to_string(port_);
    uint32_t mode = ch_ == 0 ? 1 : ch_ == 1 ? 2 : 0;
    NDX_HANDLE handle = 0;
    int32_t r = DOVA_VENDOR_CALL(library(), NDX_Open, missing, wideName(host).c_str(),
                                 wideName(name_).c_str(), uint32_t(0), mode, &handle);
    dovaTrace("DOVA:  '%s' '%s'=%08X\n", host.c_str(), name_.c_str(), unsigned(r));
    if (r != 0) return DOVA_E_OPEN;
    handle_ = handle;
    open_ = true;
    if (DOVA_VENDOR_CALL(library(), NDX_RegisterCallback, missing, uint32_t(0), handle_,
                         &WNDX::callback, static_cast<void*>(this)) != 0) {
        release(0);
        return DOVA_E_OPEN;
    }
    if (int32_t e = openEngine(); e != DOVA_OK) {
        release(0);
        return e;
    }
    setTransfer(std::make_unique<NdxTransfer>(handle_));
    bool started = startThreads(
        [this] { runSendWorker("DOVA: WNDX::procSend() Start\n", "DOVA: WNDX::procSend() End\n"); },
        nullptr, nullptr);
    if (!started) {
        release(0);
        return DOVA_E_THREAD;
    }
    return DOVA_OK;
}

int32_t WNDX::release(int32_t timeout) {
    if (!open_) return DOVA_OK;
    dovaTrace("DOVA: WNDX::release(%d)\n", timeout);
    return releaseQueued(
        timeout, [](int32_t drained) { return drained; },
        [this] {
            DOVA_VENDOR_CALL(library(), NDX_Unlock, missing, handle_);
            DOVA_VENDOR_CALL(library(), NDX_UnRegisterCallback, missing, uint32_t(0), handle_);
            DOVA_VENDOR_CALL(library(), NDX_Close, missing, handle_);
            open_ = false;
            handle_ = 0;
        });
}

int32_t WNDX::lock(int32_t timeout) {
    dovaTrace("DOVA: WNDX::lock(%d)\n", timeout);
    if (!open_) return DOVA_E_LOCK;
    return DOVA_VENDOR_CALL(library(), NDX_Lock, missing, handle_, uint32_t(timeout)) == 0
               ? DOVA_OK
               : DOVA_E_LOCK;
}

int32_t WNDX::unlock(int32_t timeout) {
    dovaTrace("DOVA: WNDX::unlock(%d)\n", timeout);
    if (!open_) return DOVA_E_UNLOCK;
    return DOVA_VENDOR_CALL(library(), NDX_Unlock, missing, handle_) == 0 ? DOVA_OK : DOVA_E_UNLOCK;
}

int32_t WNDX::reset() {
    dovaTrace("DOVA: WNDX::reset()\n");
    if (!open_) return DOVA_E_RESET;
    return DOVA_VENDOR_CALL(library(), NDX_ResetDevice, missing, handle_, resetHow) == 0
               ? DOVA_OK
               : DOVA_E_RESET;
}

int32_t WNDX::callback(uint32_t event, uint32_t, uint32_t, uint32_t length, const uint8_t* data,
                       void* context) {
    if (event == NDX_EVENT_DATA && context) static_cast<WNDX*>(context)->dataArrived(data, length);
    return 0;
}
