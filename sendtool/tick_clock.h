// The millisecond tick and the short sleeps of the send tool.
#pragma once

#include <cstdint>

namespace sendtool {

// Milliseconds from a steady clock, truncated to 32 bits: compare two ticks
// only by their unsigned difference.
uint32_t tickCount();
void sleepMs(uint32_t ms);
void sleepUs(uint32_t us);

} // namespace sendtool
