// Display names of the 256 byte values, shared by the dump port and prnfeed's
// data display.
#include <dova/dova.h>

namespace {

const char* const controlNames[32] = {"NUL", "SOH", "STX", "ETX", "EOT", "ENQ", "ACK", "BEL",
                                      "BS",  "HT",  "LF",  "VT",  "FF",  "CR",  "SO",  "SI",
                                      "DLE", "DC1", "DC2", "DC3", "DC4", "NAK", "SYN", "ETB",
                                      "CAN", "EM",  "SUB", "ESC", "FS",  "GS",  "RS",  "US"};

// Printable characters name themselves: one two-byte string per value.
struct Printables {
    char text[128][2] = {};
    constexpr Printables() {
        for (int c = 33; c < 127; ++c)
            text[c][0] = char(c);
    }
};
constexpr Printables printables;

} // namespace

extern "C" const char* DovaByteName(uint8_t value) {
    if (value < 32) return controlNames[value];
    if (value == 32) return "SP";
    if (value < 127) return printables.text[value];
    if (value == 127) return "DEL";
    return "";
}
