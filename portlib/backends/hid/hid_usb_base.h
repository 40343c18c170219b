// WHidUsbBase: the part of a USB device port the HID ports stand on, until
// they derive from WUsb itself: the device node, the number and channel,
// the device path, the vendor and product filter (kept, not used by the
// HID search), the direct transfers and the release. Its names are those of
// WUsb, so that the HID classes change only their base.
#pragma once

#include "dova_base.h"
#include "os/os_device.h"

#include <cstddef>

class WHidUsbBase : public DovaBase {
public:
    // The device path buffer's size, its final NUL included.
    static constexpr size_t kPathSize = 260;
    static constexpr uint32_t kDirectWriteMs = 2000;

    ~WHidUsbBase() override;

    // Copies the path out (kPathSize bytes) / in (cut to fit); result 0.
    int32_t getName(char* name) override;
    int32_t setName(const char* name) override;
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

protected:
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
