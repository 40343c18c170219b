// The one-line displays of bytes sent (-t) and bytes received, each with its
// own counter.
#pragma once

#include <cstdint>
#include <cstdio>

namespace sendtool {

class ByteDisplay {
public:
    explicit ByteDisplay(std::FILE* out) : out_(out) {}

    void sent(uint8_t value);
    void received(uint8_t value);

private:
    std::FILE* out_;
    uint32_t sentCount_ = 0;
    uint32_t receivedCount_ = 0;
};

} // namespace sendtool
