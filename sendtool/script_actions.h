// What the printer script scanner asks for, token by token.
//
// The scanner only recognises tokens; everything a token does goes through
// this interface, so the same scanner drives a real port, a test recorder or
// a byte counter in a benchmark.
#pragma once

#include <cstdint>
#include <string_view>

namespace sendtool {

class ScriptActions {
public:
    virtual ~ScriptActions() = default;

    // The byte emitter: one byte for the port.
    virtual void byte(uint8_t value) = 0;
    // A run of bytes, as from a quoted string: the same as each byte in turn.
    virtual void bytes(std::string_view run);
    // The read-back poll made at every newline token and while waiting.
    virtual void poll() = 0;
    // Line commands, with the text after the marker (without the newline).
    virtual void message(std::string_view text) = 0;
    virtual void prompt(std::string_view text) = 0;
    virtual void delay(std::string_view text) = 0;
    // The end of the script (or of what could be read of it).
    virtual void finish() {}

    // The number emitter: the value's width follows its size (1, 2 or 4
    // bytes), low byte first.
    void number(uint32_t value);
    // A name token: its control byte when the name is in the table,
    // otherwise its characters as they are.
    void name(std::string_view text);
};

} // namespace sendtool
