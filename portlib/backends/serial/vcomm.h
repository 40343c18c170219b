// WVcomm: the common base of the serial (COM) and parallel (LPT) ports. It
// owns the device node, the port number (1 to 32), the device path and the
// line time-outs, and serves the blocking send and recv of the direct
// classes.
//
// The device of port n is the [devices] key of the library's configuration
// ("COM3=/dev/ttyUSB0"), else the default node of the family under the
// device root; a symlink is followed, and the trace shows the node that
// opened. A refused port number is kept, so claim fails with 1013 and opens
// nothing rather than some other port.
#pragma once

#include "dova_base.h"
#include "os/os_device.h"

#include <string>

class WVcomm : public DovaBase {
public:
    WVcomm() = default;

    // 9999 while open; 1013 outside 1 to 32 (the number is kept, so that the
    // next claim fails too); otherwise stored for the next claim.
    int32_t getNo(int32_t* no) override;
    int32_t setNo(int32_t no) override;

    intptr_t getHandle() override { return node_.isOpen() ? node_.handle() : -1; }
    int32_t isOpen() override { return node_.isOpen() ? 1 : 0; }

    // Direct transfers on the caller's thread, bounded by the time-outs in
    // force: send reports what went out before the write bound (0 also when
    // it cut the transfer short; 1101 on failure); recv returns after the
    // read bounds with what arrived, possibly nothing (1102 on failure).
    int32_t send(const void* data, uint32_t length, uint32_t* written, uint32_t tagA, uint32_t tagB,
                 uint32_t tagC) override;
    int32_t recv(void* buffer, uint32_t size, uint32_t* read, uint32_t reserved) override;

    // Closed: the stored time-outs. Open: those in force, which
    // setCommTimeouts changes for this open only.
    int32_t getCommTimeouts(DovaCommTimeouts* timeouts) override;
    int32_t setCommTimeouts(const DovaCommTimeouts* timeouts) override;
    // The modem lines (CTS 0x10, DSR 0x20, RING 0x40, RLSD 0x80); 9999 where
    // the line has none.
    int32_t getModemStatus(uint32_t* status) override;
    // SETXOFF 1, SETXON 2, SETRTS 3, CLRRTS 4, SETDTR 5, CLRDTR 6, RESETDEV
    // 7 (parallel ports), SETBREAK 8, CLRBREAK 9; 9999 when refused.
    int32_t escapeCommFunction(uint32_t function) override;

    // The system's code of the last failed open, for diagnosis.
    int32_t lastError() const { return lastError_; }

protected:
    // "COM" or "LPT": the configuration key's stem.
    virtual const char* baseName() const = 0;
    // The node used when the configuration names none, for port n (1-based).
    virtual std::string defaultNode(int32_t no) const = 0;
    // The path of the port's device, at every claim: the [devices] key, else
    // the default node.
    virtual std::string devicePath() const;
    // Direct send only: while true output waits (within the write bound).
    virtual bool outputHeld() { return false; }
    // Whether the node's driver can be waited on for writing.
    virtual bool nodeCanWait() { return true; }

    // The number check, path, open and its trace line of every claim:
    // DOVA_OK, 1013 or 1014.
    int32_t openDevice();
    void closeDevice() { node_.close(); }

    os::DeviceNode node_;
    int32_t no_ = 1;
    std::string path_;
    int32_t lastError_ = 0;
    DovaCommTimeouts storedTimeouts_{100, 0, 2000, 0, 2000};
    DovaCommTimeouts activeTimeouts_{100, 0, 2000, 0, 2000};
};

// The path of a line port's device: the [devices] key (a symlink followed),
// else defaultNode. Used by ports built on COM and LPT devices.
std::string dovaLineDevicePath(const char* key, const std::string& defaultNode);
