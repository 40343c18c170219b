#include "tick_clock.h"

#include <chrono>
#include <thread>

namespace sendtool {

uint32_t tickCount() {
    auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void sleepMs(uint32_t ms) {
    std::this_thread::sleep_for(std::chrono::milliseconds(ms));
}

void sleepUs(uint32_t us) {
    std::this_thread::sleep_for(std::chrono::microseconds(us));
}

} // namespace sendtool
