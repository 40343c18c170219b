// A port for the emitter and sender tests that takes data the way a busy
// device would: part of what it is offered, nothing for a while, or a failure.
#pragma once

#include "port_io.h"

#include <deque>
#include <string>
#include <vector>

namespace sendtool_test {

class FakePort : public sendtool::PortIo {
public:
    std::string taken;             // every byte accepted, in order
    std::vector<uint32_t> offered; // the length of every write
    uint32_t maxPerWrite = UINT32_MAX;
    int refusals = 0;        // the next writes that accept 0 bytes with success
    bool full = false;       // accepts 0 bytes with success for ever
    int32_t writeResult = 0; // a result > 0 or < 0 fails every write
    int32_t forceResult = -1;
    std::deque<std::pair<int32_t, std::string>> reads; // answers of read(), then nothing
    int readCalls = 0;

    int32_t write(const uint8_t* data, uint32_t length, uint32_t* written) override {
        offered.push_back(length);
        *written = 0;
        if (writeResult != 0) return writeResult;
        if (full) return 0;
        if (refusals > 0) {
            --refusals;
            return 0;
        }
        uint32_t n = length < maxPerWrite ? length : maxPerWrite;
        taken.append(reinterpret_cast<const char*>(data), n);
        *written = n;
        return 0;
    }

    int32_t read(uint8_t* buffer, uint32_t size, uint32_t* got) override {
        ++readCalls;
        *got = 0;
        if (reads.empty() || size == 0) return 0;
        auto [result, bytes] = reads.front();
        reads.pop_front();
        if (!bytes.empty()) {
            buffer[0] = static_cast<uint8_t>(bytes[0]);
            *got = 1;
        }
        return result;
    }

    int32_t force(int32_t) override { return forceResult; }
    bool echoes = false; // plays the console and dump ports
    bool printsOnOurOutput() const override { return echoes; }
};

} // namespace sendtool_test
