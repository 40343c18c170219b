// The control-code names of the printer script language (ESC, GS, LF ...).
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace sendtool {

// The byte of a control name; names match exactly and case-sensitively.
std::optional<uint8_t> controlByte(std::string_view name);

} // namespace sendtool
