#include "backends/usb/usb_printer_class.h"

#include "engine/descriptor_transfer.h"
#include "os/os_error.h"
#include "os/os_wait.h"
#include "trace.h"

#include <dova/dova.h>

#include <algorithm>
#include <cstring>
#include <vector>

void UsbPrinterControls::attach(os::DeviceNode& node, const char* path) {
    std::lock_guard<std::mutex> guard(lock_);
    pipe_.close();
    pipeFailed_ = false;
    known_ = os::usbPrinterOfNode(node, &device_);
    if (!known_) dovaTrace("DOVA: '%s' is no usblp device in sysfs: no vendor requests\n", path);
}

void UsbPrinterControls::detach() {
    std::lock_guard<std::mutex> guard(lock_);
    pipe_.close();
    known_ = false;
}

int32_t UsbPrinterControls::getLptStatus(os::DeviceNode& node, uint8_t* status) {
    uint8_t s = 0;
    if (!status || !os::usbPrinterPortStatus(node, &s)) return DOVA_E_USBREQUEST;
    *status = s;
    return DOVA_OK;
}

int32_t UsbPrinterControls::get1284Id(os::DeviceNode& node, char* buffer, uint32_t size) {
    if (!buffer || size == 0) return DOVA_E_USBREQUEST;
    std::vector<char> id(std::max<uint32_t>(size, 2));
    long n = os::usbPrinterDeviceId(node, id.data(), uint32_t(id.size()));
    if (n < 0) return DOVA_E_USBREQUEST;
    const size_t copied = std::min<size_t>(size_t(n), size - 1);
    std::memcpy(buffer, id.data(), copied);
    buffer[copied] = '\0';
    return DOVA_OK;
}

int32_t UsbPrinterControls::softReset(os::DeviceNode& node) {
    return os::usbPrinterSoftReset(node) ? DOVA_OK : DOVA_E_USBREQUEST;
}

int32_t UsbPrinterControls::vendorCommand(bool get) {
    dovaTrace("DOVA: vendor %s command without a request code: nothing sent\n",
              get ? "get" : "set");
    return DOVA_E_USBREQUEST;
}

bool UsbPrinterControls::transfer(os::UsbControl& control) {
    std::lock_guard<std::mutex> guard(lock_);
    if (!known_) return false;
    if (!pipe_.isOpen()) {
        pipe_ = os::UsbControlPipe::open(device_.bus, device_.device);
        if (!pipe_.isOpen()) {
            // Once per open of the port: a status worker asks every 10 ms.
            if (!pipeFailed_)
                dovaTrace("DOVA: '%s' did not open (%d): no vendor requests\n",
                          os::UsbControlPipe::pathOf(device_.bus, device_.device).c_str(),
                          os::lastError());
            pipeFailed_ = true;
            return false;
        }
    }
    control.index = uint16_t(device_.interfaceNumber);
    return pipe_.transfer(control) >= 0;
}

bool UsbPrinterControls::vendorIn(uint8_t request, uint16_t value, void* data, uint16_t length) {
    os::UsbControl c;
    c.requestType = os::kUsbVendorInterfaceIn;
    c.request = request;
    c.value = value;
    c.data = data;
    c.length = length;
    return transfer(c);
}

bool UsbPrinterControls::vendorOut(uint8_t request, uint16_t value) {
    os::UsbControl c;
    c.requestType = os::kUsbVendorInterfaceOut;
    c.request = request;
    c.value = value;
    return transfer(c);
}

UsbPrinterTransfer::UsbPrinterTransfer(intptr_t handle)
    : inner_(std::make_unique<DescriptorTransfer>(handle, DescriptorTransfer::Kind::Node)) {}

UsbPrinterTransfer::~UsbPrinterTransfer() = default;

TransferResult UsbPrinterTransfer::write(const void* data, uint32_t length, const os::Event& stop) {
    return inner_->write(data, length, stop);
}

TransferResult UsbPrinterTransfer::read(void* buffer, uint32_t size, const os::Event& stop) {
    TransferResult r = inner_->read(buffer, size, stop);
    if (r.status != TransferStatus::Failed || !os::errorNoReadSide(r.error)) return r;
    // No back channel: nothing will come, so wait for the end of the port.
    os::waitAny({{stop.waitHandle(), os::Want::Read}}, os::kWaitInfinite);
    return TransferResult::stopped();
}

bool UsbPrinterTransfer::failureIsPermanent(int error) const {
    return inner_->failureIsPermanent(error) || os::errorDeviceGone(error);
}
