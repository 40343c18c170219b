// WCom: a serial port (type COM) in direct mode, and the base of the
// worker-thread and event-driven serial ports. It keeps a stored set of line
// settings (applied at claim, and at once by a setter while open) and the
// settings in force on the open line, which force and setHostBusy change
// without touching the stored ones.
//
// A line without modem control (a pseudo-terminal, some USB serial adapters)
// still claims, sends and releases: the DTR and RTS steps are skipped with a
// trace line, and only the operations that exist to read or set modem lines
// fail there.
#pragma once

#include "backends/serial/com_dcb.h"
#include "backends/serial/vcomm.h"

#include <dova/dova.h>

#include <atomic>

class WCom : public WVcomm {
public:
    WCom() = default;
    ~WCom() override;

    uint32_t getIFType() override { return DOVA_IF_COM; }
    int32_t getAsyncMode() override { return 0; }
    const char* getTypeName() override { return "COM"; }

    // 1013 bad port number, 1014 the device did not open, 1042 the line
    // refused its settings.
    int32_t claim(int32_t timeout) override;
    // Lets the driver send what it holds (as long as it keeps sending, for
    // the time-out), drops DTR and RTS, closes.
    int32_t release(int32_t timeout) override;

    // 1 the line can take data now; 0 held by the printer's handshake, no
    // flow control at all, or closed.
    int32_t isReady() override;
    // Non-zero: output ignores CTS, DSR and XOFF; 0: the stored flow again.
    // 1103 when closed or refused.
    int32_t force(int32_t on) override;
    // Drops (busy) or raises the handshake line of the stored flow, DTR
    // before RTS; 9999 without hardware flow, 1030 when the line refuses.
    int32_t setHostBusy(int32_t busy) override;
    // Discard the driver's buffers; 1104 when refused or closed.
    int32_t purgeSend() override;
    int32_t purgeRecv() override;

    int32_t getCommState(DovaCommState* state) override;
    int32_t setCommState(const DovaCommState* state) override;
    // Out of range: 1030 and the stored value stays. Open: applied at once
    // (1030 when the line refuses).
    int32_t getBaudRate(int32_t* value) override;
    int32_t setBaudRate(int32_t value) override;
    int32_t getByteSize(int32_t* value) override;
    int32_t setByteSize(int32_t value) override;
    int32_t getParity(int32_t* value) override;
    int32_t setParity(int32_t value) override;
    int32_t getStopBits(int32_t* value) override;
    int32_t setStopBits(int32_t value) override;
    int32_t getFlow(int32_t* value) override;
    int32_t setFlow(int32_t value) override;

protected:
    const char* baseName() const override { return "COM"; }
    std::string defaultNode(int32_t no) const override;
    bool outputHeld() override { return dsrHolds(); }

    // Applies the stored settings and time-outs to the opened line and
    // raises DTR and RTS as they say; false when the line refuses (1042).
    bool startComm();
    // Puts driver_ on the line; false when refused.
    bool applyDriver();
    // Waits while the driver's output keeps draining, up to timeout ms
    // without progress: 0 drained, 1 stalled.
    int32_t drainDriver(int32_t timeout);
    // DTR, then RTS down (skipped with a trace line on a line without them).
    void dropLines();
    // DTR/DSR flow is the port's own: output waits while DSR is low.
    bool dsrHolds();

    int32_t forced_ = 0;
    ComDcb stored_;
    ComDcb driver_;
    bool modemControl_ = false;
    // driver_.outxDsrFlow, for the workers.
    std::atomic<bool> dsrFlow_{false};

private:
    // Stores a changed setting and applies it to an open line.
    int32_t storeAndApply(const ComDcb& next);
    void raiseLines();
};
