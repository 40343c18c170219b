// Time for the library: a 32-bit millisecond tick and a sleep.
#pragma once

#include <cstdint>

namespace os {

// Milliseconds from a steady clock, truncated to 32 bits: wraps after about
// 49.7 days, so compare ticks by unsigned difference only.
uint32_t tickCount();

void sleepMs(uint32_t ms);

} // namespace os

namespace os {

struct LocalTime {
    int month, day, hour, minute, second, millisecond;
};

LocalTime localTime();

} // namespace os
