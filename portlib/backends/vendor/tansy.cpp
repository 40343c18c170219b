#include "backends/vendor/tansy.h"

#include "backends/vendor/vendor_library.h"
#include "os/os_text.h"
#include "trace.h"

#include <dova/dova.h>

#include <cstdio>

namespace {

// Room of the device name, as the Windows path buffers give it.
constexpr size_t nameRoom = 260;

} // namespace

VendorLibrary& ulmpaxLibrary() {
    // Only the 04 library exists here: the 01 one served systems before NT 6.
    static VendorLibrary ulmpax("C:\\Program Files\\ORVAN\\ORVAN Brisaprint 4\\ULMPAX04.DLL");
    return ulmpax;
}

WTansy::~WTansy() {
    release(0);
}

uint32_t WTansy::getIFType() {
    return DOVA_IF_TANSY;
}

int32_t WTansy::getAsyncMode() {
    return 0;
}

const char* WTansy::getTypeName() {
    return "TANSY";
}

int32_t WTansy::getNo(int32_t* no) {
    if (!no) return DOVA_E_PARAM;
    *no = no_;
    return DOVA_OK;
}

int32_t WTansy::claim(int32_t /*timeout*/) {
    dovaTrace("DOVA: WTansy::claim()\n");
    release(0);
    return openDevice(SD_FILE_ATTRIBUTE_NORMAL);
}

int32_t WTansy::openDevice(uint32_t flags) {
    if (no_ < 1 || no_ > 32) return DOVA_E_ADDRESS;
    char name[nameRoom];
    std::snprintf(name, sizeof name, "ULM_LPT%d:", no_);
    std::u16string wide = os::toUtf16(name, nameRoom - 1);
    SdHandle device =
        DOVA_VENDOR_CALL(ulmpaxLibrary(), SD_CreateFile, SD_INVALID_HANDLE, wide.c_str(),
                         SD_GENERIC_READ | SD_GENERIC_WRITE, 0u, static_cast<void*>(nullptr),
                         SD_OPEN_EXISTING, flags, static_cast<void*>(nullptr));
    dovaTrace("DOVA:  '%s'=%08X\n", name, uint32_t(reinterpret_cast<uintptr_t>(device)));
    if (device == SD_INVALID_HANDLE) return DOVA_E_OPEN;
    device_ = device;
    return DOVA_OK;
}

int32_t WTansy::release(int32_t timeout) {
    if (device_ == SD_INVALID_HANDLE) return DOVA_OK;
    dovaTrace("DOVA: WTansy::release(%d)\n", timeout);
    int32_t result = waitSendDone(timeout);
    closeDevice();
    return result;
}

void WTansy::closeDevice() {
    DOVA_VENDOR_CALL(ulmpaxLibrary(), SD_CloseHandle, 0, device_);
    device_ = SD_INVALID_HANDLE;
}

int32_t WTansy::send(const void* data, uint32_t length, uint32_t* written, uint32_t, uint32_t,
                     uint32_t) {
    if (written) *written = 0;
    if (device_ == SD_INVALID_HANDLE) return DOVA_E_WRITE;
    uint32_t done = 0;
    SdOverlapped* synchronous = nullptr;
    int32_t ok = forced() ? DOVA_VENDOR_CALL(ulmpaxLibrary(), SD_WriteFile2, 0, device_, data,
                                             length, &done, synchronous)
                          : DOVA_VENDOR_CALL(ulmpaxLibrary(), SD_WriteFile, 0, device_, data,
                                             length, &done, synchronous);
    if (!ok) return DOVA_E_WRITE;
    if (written) *written = done < length ? done : length;
    return DOVA_OK;
}

int32_t WTansy::recv(void* buffer, uint32_t size, uint32_t* read, uint32_t) {
    if (read) *read = 0;
    if (device_ == SD_INVALID_HANDLE) return DOVA_E_READ;
    uint32_t done = 0;
    SdOverlapped* synchronous = nullptr;
    if (!DOVA_VENDOR_CALL(ulmpaxLibrary(), SD_ReadFile, 0, device_, buffer, size, &done,
                          synchronous))
        return DOVA_E_READ;
    if (read) *read = done < size ? done : size;
    return DOVA_OK;
}

int32_t WTansy::reset() {
    if (device_ == SD_INVALID_HANDLE) return DOVA_E_RESET;
    return DOVA_VENDOR_CALL(ulmpaxLibrary(), SD_HWReset, 0, device_) ? DOVA_OK : DOVA_E_RESET;
}

int32_t WTansy::force(int32_t on) {
    forced_.store(on, std::memory_order_relaxed);
    return DOVA_OK;
}

intptr_t WTansy::getHandle() {
    return device_ == SD_INVALID_HANDLE ? -1 : reinterpret_cast<intptr_t>(device_);
}

int32_t WTansy::isOpen() {
    return device_ == SD_INVALID_HANDLE ? 0 : 1;
}

int32_t WTansy::isReady() {
    return 1;
}
