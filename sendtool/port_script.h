// The script interpreter's actions on a real port: the byte emitter, the
// read-back poll, and the message, prompt and delay lines.
#pragma once

#include "byte_display.h"
#include "console_keys.h"
#include "port_io.h"
#include "script_actions.h"
#include "stalled_port.h"

namespace sendtool {

class PortScript final : public ScriptActions {
public:
    PortScript(PortIo& port, ByteDisplay& display, ConsoleKeys& keys, bool showData,
               StallLimit limit = {})
        : port_(port), display_(display), keys_(keys), showData_(showData), limit_(limit) {}

    void byte(uint8_t value) override;
    void poll() override;
    void message(std::string_view text) override;
    void prompt(std::string_view text) override;
    void delay(std::string_view text) override;

    // True once the port stopped taking bytes and the emitter gave up; the
    // job is then cut short and counts as failed.
    bool stalled() const { return stalled_; }

private:
    PortIo& port_;
    ByteDisplay& display_;
    ConsoleKeys& keys_;
    bool showData_;
    StallLimit limit_;
    bool stalled_ = false;
};

} // namespace sendtool
