// Where the library's debug trace goes: the debugger output on Windows; on
// POSIX the file named by DOVA_TRACE ("-" for standard error), nothing when
// DOVA_TRACE is unset. The sink is chosen at the first line and kept.
#pragma once

#include <cstddef>

namespace os {

// Whether trace lines go anywhere: a caller may skip formatting a line
// nobody reads. Cheap after the first call.
bool traceWanted();

// Writes one formatted trace text as a whole (no interleaving between threads).
void traceWrite(const char* text, size_t length);

// Forgets the chosen sink so that the next line looks at DOVA_TRACE again
// (DovaStartup calls it, so a test can redirect the trace per run).
void traceReset();

} // namespace os
