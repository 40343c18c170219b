// The process's console: standard output when it is a terminal.
#pragma once

#include <cstddef>
#include <cstdint>

namespace os {

// The standard output handle as the console port reports it.
intptr_t consoleHandle();

// Writes all bytes to the console. False when standard output is not a
// terminal (redirected to a file or a pipe) or the write fails.
bool consoleWrite(const void* data, size_t length);

} // namespace os
