#include "stalled_port.h"

#include "tick_clock.h"

#include <cstdio>

namespace sendtool {

void reportStalledPort(uint32_t giveUpMs) {
    std::fprintf(stderr, "The port accepted no data for %u seconds; nothing more is sent.\n",
                 giveUpMs / 1000);
}

void RetryPause::wait() {
    sleepUs(us_);
    us_ = us_ * 2 > longestUs ? longestUs : us_ * 2;
}

} // namespace sendtool
