#include "port_script.h"

#include "script_values.h"
#include "tick_clock.h"

#include <cstdio>

namespace sendtool {

void PortScript::byte(uint8_t value) {
    // Once the port has stalled the rest of the job is dropped: nothing more
    // is offered, and nothing more is shown as sent.
    if (stalled_) return;
    // A port that prints on our output shows each byte as it takes it, so the
    // byte's line comes first to keep the two in order; such a port never
    // queues. Any other port's byte is shown once the port has answered it,
    // so that a byte it never took is not shown as sent.
    bool shown = false;
    if (showData_ && port_.printsOnOurOutput()) {
        display_.sent(value);
        shown = true;
    }
    // A worker-thread port takes nothing while its queue is full; offer the
    // byte again until it goes in, the port reports a failure, or the port
    // has taken nothing for the whole limit. A failed byte does not stop the
    // script.
    uint32_t start = 0;
    bool waiting = false;
    RetryPause pause;
    for (;;) {
        uint32_t written = 0;
        int32_t result = port_.write(&value, 1, &written);
        if (written != 0 || result != 0) {
            if (showData_ && !shown) display_.sent(value);
            return;
        }
        uint32_t now = tickCount();
        if (!waiting) {
            waiting = true;
            start = now;
        } else if (now - start >= limit_.giveUpMs) {
            reportStalledPort(limit_.giveUpMs);
            stalled_ = true;
            return;
        }
        pause.wait();
    }
}

void PortScript::poll() {
    uint8_t value = 0;
    uint32_t got = 0;
    int32_t result = port_.read(&value, 1, &got);
    if (result <= 0 && got != 0) display_.received(value);
}

void PortScript::message(std::string_view text) {
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
}

void PortScript::prompt(std::string_view text) {
    std::fflush(stdout);
    // Keys typed as soon as the prompt shows are taken without echo.
    KeyWait wait(keys_);
    if (text.empty()) {
        std::fputs("Hit any key\n", stderr);
    } else {
        std::fwrite(text.data(), 1, text.size(), stderr);
        std::fputc('\n', stderr);
    }
    for (;;) {
        if (keys_.pollKey()) return;
        if (keys_.exhausted()) return;
        poll();
        sleepMs(1);
    }
}

void PortScript::delay(std::string_view text) {
    int32_t ms = leadingDecimal(text);
    // A negative delay would otherwise mean about 49 days.
    uint32_t limit = ms < 0 ? 0 : static_cast<uint32_t>(ms);
    std::fflush(stdout);
    KeyWait wait(keys_);
    uint32_t start = tickCount();
    for (;;) {
        if (auto key = keys_.pollKey(); key && *key == 27) return;
        poll();
        sleepMs(1);
        if (tickCount() - start >= limit) return;
    }
}

} // namespace sendtool
