#include "backends/libusb/libusb.h"

#include "backends/vendor/vendor_library.h"
#include "trace.h"

#include <dova/dova.h>

#include <climits>
#include <cstring>

namespace {

constexpr uint8_t kEndpointIn = 0x80;
constexpr uint8_t kTransferTypeMask = 0x03;
constexpr uint8_t kTransferBulk = 0x02;
constexpr uint8_t kProtocolUnidirectional = 1;
constexpr uint8_t kProtocolBidirectional = 2;

// The results a missing function answers: no list, no handle, and a
// failure for everything that reports one, so that a gap never passes for
// success.
constexpr int kMissing = -1;

int clampLength(uint32_t length) {
    return length > uint32_t(INT_MAX) ? INT_MAX : int(length);
}

// When configuring or claiming fails because the kernel's printer driver
// has the interface, the printer is there to be used through it.
void traceHeldByUsblp(usb_dev_handle* handle) {
    char driver[64] = {};
    int r = DOVA_VENDOR_CALL(libusb0Library(), usb_get_driver_np, kMissing, handle, 0, driver,
                             unsigned(sizeof driver - 1));
    if (r == 0 && std::strcmp(driver, "usblp") == 0)
        dovaTrace("DOVA: interface 0 is held by the usblp driver: reach this printer through "
                  "the target USBPRN (its /dev/usb/lp node) instead of LIBUSB\n");
}

} // namespace

VendorLibrary& libusb0Library() {
    static VendorLibrary library("libusb-0.1.so.4");
    return library;
}

bool libusb0Complete() {
    static const char* const functions[] = {
        "usb_init",
        "usb_find_busses",
        "usb_find_devices",
        "usb_get_busses",
        "usb_open",
        "usb_close",
        "usb_set_configuration",
        "usb_claim_interface",
        "usb_release_interface",
        "usb_bulk_write",
        "usb_bulk_read",
    };
    if (!libusb0Library().isLoaded()) return false;
    for (const char* f : functions) {
        if (!libusb0Library().symbol(f)) {
            dovaTrace("DOVA: libusb-0.1.so.4 has no %s\n", f);
            return false;
        }
    }
    return true;
}

WLibusb::WLibusb() {
    if (auto* init = reinterpret_cast<decltype(usb_init)*>(libusb0Library().symbol("usb_init")))
        init();
    DOVA_VENDOR_CALL(libusb0Library(), usb_find_busses, 0);
    DOVA_VENDOR_CALL(libusb0Library(), usb_find_devices, 0);
}

WLibusb::~WLibusb() {
    WLibusb::release(0);
}

uint32_t WLibusb::getIFType() {
    // The code of the KP USB ports: programs tell USB printers by it.
    return DOVA_IF_KPUSB;
}

intptr_t WLibusb::getHandle() {
    return handle_ ? reinterpret_cast<intptr_t>(handle_) : -1;
}

usb_dev_handle* WLibusb::discover() {
    for (usb_bus* bus = DOVA_VENDOR_CALL(libusb0Library(), usb_get_busses, nullptr); bus;
         bus = bus->next) {
        for (usb_device* dev = bus->devices; dev; dev = dev->next) {
            dovaTrace("VID=%04Xh PID=%04Xh\n", dev->descriptor.idVendor, dev->descriptor.idProduct);
            if (!dev->config) continue;
            for (int c = 0; c < dev->descriptor.bNumConfigurations; ++c) {
                const usb_config_descriptor& config = dev->config[c];
                if (!config.interface) continue;
                for (int i = 0; i < config.bNumInterfaces; ++i) {
                    const usb_interface& interface = config.interface[i];
                    if (!interface.altsetting) continue;
                    for (int a = 0; a < interface.num_altsetting; ++a) {
                        const usb_interface_descriptor& setting = interface.altsetting[a];
                        dovaTrace("interface class =%d\n", setting.bInterfaceClass);
                        if (setting.bInterfaceProtocol != kProtocolUnidirectional &&
                            setting.bInterfaceProtocol != kProtocolBidirectional)
                            continue;
                        for (int e = 0; setting.endpoint && e < setting.bNumEndpoints; ++e) {
                            const usb_endpoint_descriptor& ep = setting.endpoint[e];
                            dovaTrace("bmAttributes    =%02Xh\n", ep.bmAttributes);
                            dovaTrace("bEndpointAddress=%02Xh\n", ep.bEndpointAddress);
                            if ((ep.bmAttributes & kTransferTypeMask) != kTransferBulk) continue;
                            if (ep.bEndpointAddress & kEndpointIn)
                                inEndpoint_ = ep.bEndpointAddress;
                            else
                                outEndpoint_ = ep.bEndpointAddress;
                        }
                        dovaTrace("EP_OUT=%02Xh\n", outEndpoint_);
                        dovaTrace("EP_IN =%02Xh\n", inEndpoint_);
                        return DOVA_VENDOR_CALL(libusb0Library(), usb_open, nullptr, dev);
                    }
                }
            }
        }
    }
    return nullptr;
}

int32_t WLibusb::openDevice() {
    if (!libusb0Complete()) return DOVA_E_OPEN;
    handle_ = discover();
    if (!handle_) return DOVA_E_OPEN;
    if (DOVA_VENDOR_CALL(libusb0Library(), usb_set_configuration, kMissing, handle_, 1) < 0 ||
        DOVA_VENDOR_CALL(libusb0Library(), usb_claim_interface, kMissing, handle_, 0) < 0) {
        traceHeldByUsblp(handle_);
        release(0);
        return DOVA_E_OPEN;
    }
    return DOVA_OK;
}

void WLibusb::closeDevice(bool releaseInterface) {
    if (!handle_) return;
    if (releaseInterface)
        DOVA_VENDOR_CALL(libusb0Library(), usb_release_interface, kMissing, handle_, 0);
    DOVA_VENDOR_CALL(libusb0Library(), usb_close, kMissing, handle_);
    handle_ = nullptr;
}

int32_t WLibusb::claim(int32_t) {
    dovaTrace("DOVA: WLibusb::claim()\n");
    release(0);
    return openDevice();
}

int32_t WLibusb::release(int32_t timeout) {
    if (!handle_) return DOVA_OK;
    dovaTrace("DOVA: WLibusb::release(%d)\n", timeout);
    waitSendDone(timeout);
    closeDevice(true);
    return DOVA_OK;
}

int32_t WLibusb::send(const void* data, uint32_t length, uint32_t* written, uint32_t, uint32_t,
                      uint32_t) {
    if (written) *written = 0;
    if (!handle_) return DOVA_E_WRITE;
    int r = DOVA_VENDOR_CALL(libusb0Library(), usb_bulk_write, kMissing, handle_, int(outEndpoint_),
                             static_cast<const char*>(data), clampLength(length), kWriteTimeoutMs);
    if (r < 0) return DOVA_E_WRITE;
    if (written) *written = uint32_t(r);
    return DOVA_OK;
}

int32_t WLibusb::recv(void* buffer, uint32_t size, uint32_t* read, uint32_t) {
    if (read) *read = 0;
    if (!handle_) return DOVA_E_READ;
    int r = DOVA_VENDOR_CALL(libusb0Library(), usb_bulk_read, kMissing, handle_, int(inEndpoint_),
                             static_cast<char*>(buffer), clampLength(size), kReadTimeoutMs);
    if (r < 0) return DOVA_E_READ;
    if (read) *read = uint32_t(r);
    return DOVA_OK;
}
