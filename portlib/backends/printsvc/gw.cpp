#include "backends/printsvc/gw.h"

#include "backends/printsvc/wide_name.h"
#include "backends/vendor/vendor_library.h"
#include "trace.h"

#include <dova/dova.h>

#include <cstdio>
#include <string>

namespace {

// The handler under the Program Files folder, else the one the loader finds.
VendorLibrary& library() {
    static VendorLibrary kestra("C:\\Program Files\\ORVAN\\Kestra\\Kestra.dll");
    static VendorLibrary orvanGW("OrvanGW.dll");
    return kestra.isLoaded() ? kestra : orvanGW;
}

constexpr int32_t missing = int32_t(0x80000001u);
constexpr uint32_t sendTimeoutMs = 1000;

int32_t mapped(int32_t r) {
    switch (uint32_t(r)) {
    case 0:
        return DOVA_OK;
    case 0x80000001u:
    case 0x80000003u:
        return DOVA_E_HANDLE;
    case 0x80000006u:
        return DOVA_E_QUEUE;
    case 0x80010001u:
        return DOVA_E_CONNECT;
    case 0x80060000u:
        return DOVA_E_DRIVER;
    default:
        return DOVA_E_SYSTEM;
    }
}

// The send worker's way to the handler: one SendReceive per call, asking
// no answer, bounded by its own time-out.
class GwTransfer final : public DovaTransfer {
public:
    explicit GwTransfer(GW_HANDLE handle) : handle_(handle) {}

    TransferResult write(const void* data, uint32_t length, const os::Event&) override {
        uint32_t sent = 0;
        uint8_t answer[4];
        uint32_t answerCount = 0;
        int32_t r = DOVA_VENDOR_CALL(library(), SendReceive, missing, handle_,
                                     static_cast<const uint8_t*>(data), length, &sent, uint32_t(0),
                                     sendTimeoutMs, answer, uint32_t(0), &answerCount);
        if (sent > length) sent = length;
        if (sent) return TransferResult::done(sent);
        // A send that took nothing is tried again after the engine's pause,
        // not at once.
        return TransferResult::failed(r);
    }
    TransferResult read(void*, uint32_t, const os::Event&) override {
        return TransferResult::done(0);
    }
    bool zeroReadEndsStream() const override { return false; }
    bool failureIsPermanent(int) const override { return false; }

private:
    GW_HANDLE handle_;
};

} // namespace

WGW::~WGW() {
    WGW::release(0);
}

uint32_t WGW::getIFType() {
    return DOVA_IF_GW;
}

const char* WGW::getTypeName() {
    return "GW";
}

int32_t WGW::claim(int32_t timeout) {
    dovaTrace("DOVA: WGW::claim()\n");
    release(0);
    if (name_.empty()) {
        if (no_ < 0) return DOVA_E_ADDRESS;
        std::string address = usableAddress();
        std::string prefix = address.empty() ? "pipe:/" : "tcp://" + address;
        const char* family = ch_ == 1 ? "CD" : ch_ == 2 ? "QS" : "KP";
        char device[24];
        std::snprintf(device, sizeof device, "ULMPRT%03d", int(no_));
        name_ = prefix + "/" + family + "/" + device;
    }
    GW_HANDLE handle = 0;
    int32_t r = DOVA_VENDOR_CALL(library(), Open, missing, wideName(name_).c_str(), &handle);
    dovaTrace("DOVA:  '%s'=%08X\n", name_.c_str(), unsigned(r));
    if (r != 0) return DOVA_E_OPEN;
    handle_ = handle;
    open_ = true;
    if (DOVA_VENDOR_CALL(library(), Lock, missing, handle_, uint32_t(timeout)) != 0) {
        release(0);
        return DOVA_E_LOCK;
    }
    if (int32_t e = openEngine(); e != DOVA_OK) {
        release(0);
        return e;
    }
    if (DOVA_VENDOR_CALL(library(), RegisterCallback, missing, handle_, GW_CALLBACK_DATA,
                         &WGW::callback, static_cast<void*>(this)) != 0) {
        release(0);
        return DOVA_E_DRIVER;
    }
    setTransfer(std::make_unique<GwTransfer>(handle_));
    bool started = startThreads(
        [this] { runSendWorker("DOVA: WGW::procSend() Start\n", "DOVA: WGW::procSend() End\n"); },
        nullptr, nullptr);
    if (!started) {
        release(0);
        return DOVA_E_THREAD;
    }
    return DOVA_OK;
}

int32_t WGW::release(int32_t timeout) {
    if (!open_) return DOVA_OK;
    dovaTrace("DOVA: WGW::release(%d)\n", timeout);
    return releaseQueued(
        timeout,
        [this](int32_t drained) {
            // No data may arrive once the queues are gone.
            DOVA_VENDOR_CALL(library(), UnRegisterCallback, missing, handle_, GW_CALLBACK_DATA,
                             &WGW::callback, static_cast<void*>(this));
            return drained;
        },
        [this] {
            DOVA_VENDOR_CALL(library(), Unlock, missing, handle_);
            DOVA_VENDOR_CALL(library(), Close, missing, handle_);
            open_ = false;
            handle_ = 0;
        });
}

int32_t WGW::lock(int32_t timeout) {
    if (!open_) return DOVA_E_LOCK;
    return mapped(DOVA_VENDOR_CALL(library(), Lock, missing, handle_, uint32_t(timeout)));
}

int32_t WGW::unlock(int32_t) {
    if (!open_) return DOVA_E_UNLOCK;
    return mapped(DOVA_VENDOR_CALL(library(), Unlock, missing, handle_));
}

int32_t WGW::reset() {
    if (!open_) return DOVA_E_SYSTEM;
    int32_t r = DOVA_VENDOR_CALL(
        library(), Ioctl, missing, handle_, GW_IOCTL_RESET, static_cast<const void*>(nullptr),
        uint32_t(0), static_cast<void*>(nullptr), uint32_t(0), static_cast<uint32_t*>(nullptr));
    return r == 0 ? DOVA_OK : DOVA_E_SYSTEM;
}

int32_t WGW::force(int32_t on) {
    if (!open_) return DOVA_E_FORCE;
    uint32_t value = on ? 2 : 1;
    int32_t r =
        DOVA_VENDOR_CALL(library(), Ioctl, missing, handle_, GW_IOCTL_FORCE,
                         static_cast<const void*>(&value), uint32_t(sizeof value),
                         static_cast<void*>(nullptr), uint32_t(0), static_cast<uint32_t*>(nullptr));
    return r == 0 ? DOVA_OK : DOVA_E_FORCE;
}

int32_t WGW::ioctl(uint32_t code, uint32_t input, uint32_t inputSize, uint32_t output,
                   uint32_t outputSize, uint32_t returned) {
    if (input != 0 || output != 0 || returned != 0) return DOVA_E_PARAM;
    return mapped(DOVA_VENDOR_CALL(
        library(), Ioctl, missing, handle_, code, static_cast<const void*>(nullptr), inputSize,
        static_cast<void*>(nullptr), outputSize, static_cast<uint32_t*>(nullptr)));
}

int32_t WGW::registerCallback(uint32_t code, void* callback, void* context) {
    return mapped(DOVA_VENDOR_CALL(library(), RegisterCallback, missing, handle_, code,
                                   reinterpret_cast<GW_CALLBACK>(callback), context));
}

int32_t WGW::unregisterCallback(uint32_t code, void* callback, void* context) {
    return mapped(DOVA_VENDOR_CALL(library(), UnRegisterCallback, missing, handle_, code,
                                   reinterpret_cast<GW_CALLBACK>(callback), context));
}

int32_t WGW::callback(void* context, uint32_t, const uint8_t* data, uint32_t length) {
    dovaTrace("DOVA: WGW::procCallback()");
    if (context) static_cast<WGW*>(context)->dataArrived(data, length);
    // The receive hook answers nothing the handler could be given back.
    return 0;
}
