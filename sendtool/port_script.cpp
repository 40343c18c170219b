#include "port_script.h"

#include "script_values.h"
#include "tick_clock.h"

#include <cstdio>

namespace sendtool {

void PortScript::byte(uint8_t value) {
    // Once the port has stalled the rest of the job is dropped: nothing more
    // is offered, and nothing more is shown as sent.
    if (stalled_) return;
    if (showData_ && port_.printsOnOurOutput()) {
        echoByte(value);
        return;
    }
    pending_.push_back(value);
    if (pending_.size() >= runLimit) flush();
}

void PortScript::bytes(std::string_view run) {
    if (stalled_) return;
    if (showData_ && port_.printsOnOurOutput()) {
        for (char c : run)
            echoByte(static_cast<uint8_t>(c));
        return;
    }
    pending_.insert(pending_.end(), run.begin(), run.end());
    if (pending_.size() >= runLimit) flush();
}

void PortScript::shown(uint8_t value) {
    if (showData_) display_.sent(value);
}

void PortScript::echoByte(uint8_t value) {
    // Such a port never queues, and shows each byte as it takes it.
    display_.sent(value);
    uint32_t written = 0;
    port_.write(&value, 1, &written);
}

void PortScript::flush() {
    // A worker-thread port takes nothing while its queue is full; offer the
    // rest again until it goes in, the port reports a failure, or the port
    // has taken nothing for the whole limit. A failure costs the byte the
    // port could not take, not the script: the bytes after it are offered
    // again, exactly as if each had been written alone.
    const uint8_t* next = pending_.data();
    const uint8_t* end = next + pending_.size();
    uint32_t start = 0;
    bool waiting = false;
    RetryPause pause;
    while (next != end && !stalled_) {
        uint32_t length = static_cast<uint32_t>(end - next);
        uint32_t written = 0;
        int32_t result = port_.write(next, length, &written);
        if (written > length) written = length;
        uint32_t consumed = written;
        if (result != 0 && consumed < length) ++consumed;
        for (uint32_t i = 0; i < consumed; ++i)
            shown(next[i]);
        next += consumed;
        if (consumed != 0) {
            waiting = false;
            pause.reset();
            continue;
        }
        uint32_t now = tickCount();
        if (!waiting) {
            waiting = true;
            start = now;
        } else if (now - start >= limit_.giveUpMs) {
            reportStalledPort(limit_.giveUpMs);
            stalled_ = true;
            break;
        }
        pause.wait();
    }
    pending_.clear();
}

void PortScript::poll() {
    flush();
    uint8_t value = 0;
    uint32_t got = 0;
    int32_t result = port_.read(&value, 1, &got);
    if (result <= 0 && got != 0) display_.received(value);
}

void PortScript::message(std::string_view text) {
    flush();
    std::fwrite(text.data(), 1, text.size(), stdout);
    std::fputc('\n', stdout);
}

void PortScript::prompt(std::string_view text) {
    flush();
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
    flush();
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
