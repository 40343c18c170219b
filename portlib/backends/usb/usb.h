// WUsb: the common base of the ports that reach a USB device through a
// device node (the printer class here; the HID ports build on it too). It
// owns the node, the addressing fields and the discovery of the node's path.
//
// Fields: the number (zero-based index among the matching interfaces,
// initially -1, which matches none), the channel (initially -1; only KPUSB
// reads it), the device path (up to 259 characters; empty until set or
// found), and the vendor and product filter (0: none).
//
// Path: a path set with setName is opened as it stands at every claim. An
// empty path is looked for at claim (devicePath) and the one found is kept
// for later claims of the same object; setNo does not clear it, setName("")
// does. The trace line "DOVA:  '%s'=%08X" of each open shows the path.
//
// Discovery: an interface class lists the candidates in the order the system
// counts them (usblp: lp-number order). With vendor id 0 every candidate
// matches; otherwise the vendor must be equal, and the product too unless
// the product filter is 0. The index counts the matches from 0.
#pragma once

#include "dova_base.h"
#include "os/os_device.h"
#include "os/os_usb.h"

#include <cstddef>
#include <functional>
#include <vector>

// Lists the candidates of one device interface class, in order.
using WUsbInterfaceClass = std::function<std::vector<os::UsbInterface>()>;

class WUsb : public DovaBase {
public:
    // The device path buffer's size, its final NUL included.
    static constexpr size_t kPathSize = 260;

    WUsb() = default;
    ~WUsb() override;

    // Copies the path out (the caller's buffer holds kPathSize bytes) / in
    // (cut to kPathSize - 1 characters); result 0.
    int32_t getName(char* name) override;
    int32_t setName(const char* name) override;
    // Stored at any time; a path already found stays.
    int32_t getNo(int32_t* no) override;
    int32_t setNo(int32_t no) override;
    int32_t getCh(int32_t* ch) override;
    int32_t setCh(int32_t ch) override;
    int32_t setVendorId(uint16_t vendorId) override;
    int32_t setProductId(uint16_t productId) override;

    // Silent 0 when closed; else traces "DOVA: WUsb::release(%d)", keeps
    // waitSendDone(timeout) and closes.
    int32_t release(int32_t timeout) override;

    // Direct transfers on the caller's thread: send waits while the device
    // is busy, up to kDirectWriteMs without progress, and reports what went
    // (1101 when the node fails); recv takes what has arrived, possibly
    // nothing (1102 when the node fails).
    int32_t send(const void* data, uint32_t length, uint32_t* written, uint32_t tagA, uint32_t tagB,
                 uint32_t tagC) override;
    int32_t recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved) override;

    intptr_t getHandle() override { return node_.isOpen() ? node_.handle() : -1; }
    int32_t isOpen() override { return node_.isOpen() ? 1 : 0; }
    int32_t isReady() override { return 1; }

    // Finds the index-th interface of the class that passes the vendor and
    // product filter and copies its node path to out (kPathSize bytes; cut
    // to fit). 1 when found, else 0 with out empty. Traces
    // "DOVA: WUsb::devicePath(%d)" with the index.
    int devicePath(char* out, const WUsbInterfaceClass& interfaceClass, int32_t index);

    static constexpr uint32_t kDirectWriteMs = 2000;

protected:
    // The path step of claim: the stored path, else devicePath with the
    // class and the number, kept. DOVA_OK or 1013 (path left empty).
    int32_t resolvePath(const WUsbInterfaceClass& interfaceClass);
    // Opens the path and traces "DOVA:  '%s'=%08X": DOVA_OK or 1014.
    int32_t openNode();
    // Both: resolvePath, then openNode.
    int32_t claimNode(const WUsbInterfaceClass& interfaceClass);
    void closeNode() { node_.close(); }
    bool pathEmpty() const { return path_[0] == '\0'; }
    const char* path() const { return path_; }

    os::DeviceNode node_;
    int32_t no_ = -1;
    int32_t ch_ = -1;
    uint16_t vendorId_ = 0;
    uint16_t productId_ = 0;

private:
    char path_[kPathSize] = {};
};
