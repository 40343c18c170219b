#include "byte_display.h"

#include <dova/dova.h>

namespace sendtool {

void ByteDisplay::sent(uint8_t value) {
    std::fprintf(out_, ">%06X: %3d %02Xh %s\n", sentCount_++, value, value, DovaByteName(value));
}

void ByteDisplay::received(uint8_t value) {
    std::fprintf(out_, "<                       %06X: %3d %02Xh %s\n", receivedCount_++, value,
                 value, DovaByteName(value));
}

} // namespace sendtool
