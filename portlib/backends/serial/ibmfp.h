// WIBMFP: an IBM printer on a COM port (target IBMFPn, on the device of
// COMn) kept in a reset / power-on check / status polling cycle by a
// protocol thread, with the escape frames of ibmfp_frame.h. The printer
// answers only while RTS is up, so every answer byte is clocked by raising
// RTS for its read. The thread prints what it learns on standard output:
// "@POR xx xx xx" once the printer reports power-on, "@STATUS xx xx xx" at
// each poll after that.
//
// Caller data: send queues it, and once the printer has answered the
// power-on check the protocol thread writes what is queued, as it stands,
// between two status polls (never inside a frame; for about one poll period
// at a time). Before that, the data wait in the queue, so a release with a
// time-out reports 1 when the printer never came up instead of dropping the
// job in silence. Every answer that passes its checks is put whole (the
// frame from ESC on) into the receive queue, where recv finds it.
//
// Threads: the caller's send and recv touch only the queues; the protocol
// thread alone uses the line. Every wait of the thread (the pauses, the
// clocked reads, a held write) also waits for the stop event, so release(0)
// ends it at once in every state.
#pragma once

#include "backends/serial/com.h"
#include "backends/serial/ibmfp_frame.h"
#include "engine/wasync_port.h"

#include <dova/dova.h>

#include <array>
#include <cstdint>
#include <mutex>

class WIBMFP : public WCom, public WAsync {
public:
    WIBMFP() : WAsync(static_cast<DovaBase&>(*this)) {}
    ~WIBMFP() override;

    uint32_t getIFType() override { return DOVA_IF_IBMFP; }
    int32_t getAsyncMode() override { return 1; }
    const char* getTypeName() override { return "IBMFP"; }

    // As WCom; then 1016 / 1011 when the engine cannot be set up, 1041 when
    // DTR cannot be raised or RTS dropped (the link needs both: a line
    // without modem control cannot carry it), 1015 without the thread.
    int32_t claim(int32_t timeout) override;
    // Waits while the queue keeps draining (1 when it stalls for the
    // time-out), stops the thread and closes.
    int32_t release(int32_t timeout) override;

    // Set while open, they bound the thread's next read or write.
    int32_t getCommTimeouts(DovaCommTimeouts* timeouts) override;
    int32_t setCommTimeouts(const DovaCommTimeouts* timeouts) override;

    // The queues only: the driver's buffers belong to the protocol thread,
    // which clears them before each frame anyway.
    DOVA_WASYNC_PORT_OPERATIONS

protected:
    // A line for standard output ("@POR ...", "@STATUS ...", "@err=..."),
    // written and flushed at once.
    virtual void statusLine(const char* line);

private:
    enum class State { Reset, PowerOnCheck, StatusPolling };

    void procWait();
    // One step of the cycle in each state.
    State resetPrinter();
    State checkPowerOn();
    State pollStatus();

    // Clears the driver's buffers and writes the frame: 0, 1104 when the
    // buffers cannot be cleared, 1101 when the frame did not go out whole.
    int32_t writeFrame(const std::array<uint8_t, 9>& frame);
    std::array<uint8_t, 9> pollFrame() const;
    // Reads one answer into answer_ with clocked byte reads; stores it in
    // the receive queue when it passes its checks.
    int readAnswer();
    // The byte, or -1 when RTS could not be set, -2 when no byte came
    // within the read bound.
    int readClocked();
    int readLineByte();
    // RTS down, then a break of a few milliseconds: 0 or 1041.
    int32_t breakSignal();
    // Writes what the line takes within the write bound, waiting on the
    // stop event too. Returns the system's error, or 0; *written the count.
    int writeBounded(const uint8_t* data, size_t length, size_t* written);
    // Writes queued caller data for up to one poll period, then lets the
    // driver's output drain (the next frame clears it).
    void writeCallerData(uint32_t periodMs);

    // The time-outs in force, as the protocol thread reads them.
    DovaCommTimeouts lineTimeouts();

    std::mutex timeoutsLock_; // guards activeTimeouts_ while the thread runs
    std::array<uint8_t, ibmfp::kFrameMax> answer_{};
    // Bits 0x40 and 0x10 of the last answer's flags.
    uint8_t answerFlags_ = 0x40;
    // Poll flags: the first goes into every poll's control byte; the
    // second has no known use.
    uint8_t pollFlags_[2] = {0x08, 0};
    std::array<uint8_t, 3> powerOn_{};
    std::array<uint8_t, 3> status_{};
};
