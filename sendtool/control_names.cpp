#include "control_names.h"

#include <algorithm>
#include <array>
#include <iterator>

namespace sendtool {

namespace {

struct ControlName {
    std::string_view name;
    uint8_t value;
};

// Sorted by name in byte order: the lookup is a binary search.
constexpr std::array<ControlName, 42> kNames{{
    {"ACK", 0x06}, {"AX", 0x1F},  {"BEL", 0x07}, {"BS", 0x08},  {"CAN", 0x18},  {"CLR", 0x0C},
    {"CR", 0x0D},  {"DC1", 0x11}, {"DC2", 0x12}, {"DC3", 0x13}, {"DC4", 0x14},  {"DEL", 0x7F},
    {"DLE", 0x10}, {"EM", 0x19},  {"ENQ", 0x05}, {"EOT", 0x04}, {"ESC", 0x1B},  {"ETB", 0x17},
    {"ETX", 0x03}, {"FF", 0x0C},  {"FS", 0x1C},  {"GS", 0x1D},  {"HOM", 0x0B},  {"HT", 0x09},
    {"LF", 0x0A},  {"MD1", 0x01}, {"MD2", 0x02}, {"MD3", 0x03}, {"NAK", 0x15},  {"NUL", 0x00},
    {"RS", 0x1E},  {"SI", 0x0F},  {"SO", 0x0E},  {"SOH", 0x01}, {"SP", 0x20},   {"STX", 0x02},
    {"SUB", 0x1A}, {"SYN", 0x16}, {"US", 0x1F},  {"VT", 0x0B},  {"XOFF", 0x13}, {"XON", 0x11},
}};

static_assert(std::is_sorted(kNames.begin(), kNames.end(),
                             [](const ControlName& a, const ControlName& b) {
                                 return a.name < b.name;
                             }));

} // namespace

std::optional<uint8_t> controlByte(std::string_view name) {
    auto at = std::lower_bound(
        kNames.begin(), kNames.end(), name,
        [](const ControlName& row, std::string_view key) { return row.name < key; });
    if (at == kNames.end() || at->name != name) return std::nullopt;
    return at->value;
}

} // namespace sendtool
