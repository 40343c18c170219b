#include "script_actions.h"

#include "control_names.h"

namespace sendtool {

void ScriptActions::bytes(std::string_view run) {
    for (char c : run)
        byte(static_cast<uint8_t>(c));
}

void ScriptActions::number(uint32_t value) {
    int width = value < 0x100u ? 1 : value < 0x10000u ? 2 : 4;
    for (int i = 0; i < width; ++i)
        byte(static_cast<uint8_t>(value >> (8 * i)));
}

void ScriptActions::name(std::string_view text) {
    if (auto code = controlByte(text)) {
        byte(*code);
        return;
    }
    bytes(text);
}

} // namespace sendtool
