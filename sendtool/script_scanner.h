// The printer script scanner: turns a script stream into actions while it
// reads it.
#pragma once

#include "script_actions.h"

#include <cstddef>
#include <cstdio>

namespace sendtool {

enum class ScriptResult {
    Done,      // the stream ended
    ReadFailed // the stream could not be read to its end
};

// Reads the script in text mode (CR LF as LF) and hands every token to the
// actions as soon as it is complete. Running out of memory for the token
// buffer ends the process with exit code 2, as the scanner's own fatal
// error does. `reads`, when given, receives how many times the scanner asked
// the stream for more text.
ScriptResult runScript(std::FILE* script, ScriptActions& actions, size_t* reads = nullptr);

} // namespace sendtool
