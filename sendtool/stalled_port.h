// How long a port may keep accepting nothing before the send tool gives up.
#pragma once

#include <cstdint>

namespace sendtool {

struct StallLimit {
    uint32_t giveUpMs = 30000; // without a single byte accepted
};

// The pause between two offers to a port whose queue is full. A send worker
// usually frees room within a fraction of a millisecond, so the first pauses
// are short; while the port stays full they grow to a millisecond, so that a
// stalled printer costs no CPU.
class RetryPause {
public:
    void reset() { us_ = firstUs; }
    void wait();

private:
    static constexpr uint32_t firstUs = 20;
    static constexpr uint32_t longestUs = 1000;
    uint32_t us_ = firstUs;
};

// The line printed to standard error when a port has stopped taking data.
void reportStalledPort(uint32_t giveUpMs);

} // namespace sendtool
