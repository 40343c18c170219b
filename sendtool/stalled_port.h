// How long a port may keep accepting nothing before the send tool gives up.
#pragma once

#include <cstdint>

namespace sendtool {

struct StallLimit {
    uint32_t giveUpMs = 30000; // without a single byte accepted
    uint32_t retryMs = 1;      // pause between two offers
};

// The line printed to standard error when a port has stopped taking data.
void reportStalledPort(uint32_t giveUpMs);

} // namespace sendtool
