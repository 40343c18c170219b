// The script interpreter's actions on a real port: the byte emitter, the
// read-back poll, and the message, prompt and delay lines.
#pragma once

#include "byte_display.h"
#include "console_keys.h"
#include "port_io.h"
#include "script_actions.h"
#include "stalled_port.h"

#include <vector>

namespace sendtool {

class PortScript final : public ScriptActions {
public:
    PortScript(PortIo& port, ByteDisplay& display, ConsoleKeys& keys, bool showData,
               StallLimit limit = {})
        : port_(port), display_(display), keys_(keys), showData_(showData), limit_(limit) {}

    void byte(uint8_t value) override;
    void bytes(std::string_view run) override;
    void poll() override;
    void message(std::string_view text) override;
    void prompt(std::string_view text) override;
    void delay(std::string_view text) override;
    void finish() override { flush(); }

    // Offers the bytes emitted so far to the port. Bytes are gathered until
    // the next newline, line command or the end of the script (or until a
    // run is long enough), so that the port sees one write per line instead
    // of one per byte; to the port and to the display the result is the
    // same bytes in the same order, each shown once the port has taken it.
    void flush();

    // True once the port stopped taking bytes and the emitter gave up; the
    // job is then cut short and counts as failed.
    bool stalled() const { return stalled_; }

private:
    // Bytes gathered before a write; large enough that the per-write cost
    // vanishes, small enough to fit a send queue.
    static constexpr size_t runLimit = 4096;

    // The display line of a byte the port took or refused with a failure.
    void shown(uint8_t value);
    // A byte straight to a port that prints on our output: its display line
    // comes first, so that the two stay in order.
    void echoByte(uint8_t value);

    PortIo& port_;
    ByteDisplay& display_;
    ConsoleKeys& keys_;
    bool showData_;
    StallLimit limit_;
    bool stalled_ = false;
    std::vector<uint8_t> pending_;
};

} // namespace sendtool
