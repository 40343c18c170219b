// The IBM status link's answer reader, fed any bytes as the line gives them:
// it must stay inside its frame buffer, read no byte past the frame it
// announced, and accept only an answer whose length and CRC hold.
#include "backends/serial/ibmfp_frame.h"

#include <cstddef>
#include <cstdint>
#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // On the heap, so that a step past its end meets the sanitizer's guard.
    auto frame = std::make_unique<ibmfp::Frame>();
    size_t at = 0;
    uint8_t flags = 0xFF;
    const int n =
        ibmfp::readAnswer([&]() -> int { return at < size ? data[at++] : -1; }, *frame, &flags);
    if (n > 0) {
        const size_t total = size_t(n);
        const uint32_t length = uint32_t((*frame)[3]) | uint32_t((*frame)[4]) << 8;
        if (total != length + 5 || total < 9 || total > ibmfp::kFrameMax || at != total)
            __builtin_trap();
        const uint16_t crc = ibmfp::crc16X25(frame->data(), total - 2);
        if ((*frame)[total - 2] != (crc & 0xFF) || (*frame)[total - 1] != (crc >> 8))
            __builtin_trap();
        if ((flags & ~ibmfp::kFlagKept) != 0) __builtin_trap();
    } else if (at > ibmfp::kFrameMax) {
        __builtin_trap();
    }
    return 0;
}
