#include "trace.h"

#include "os/os_trace_sink.h"

#include <cstdarg>
#include <cstdio>

void dovaTrace(const char* format, ...) {
    // Ports trace per call; without a sink that must cost next to nothing.
    if (!os::traceWanted()) return;
    char line[1024];
    va_list args;
    va_start(args, format);
    int n = std::vsnprintf(line, sizeof line, format, args);
    va_end(args);
    // A text that does not fit is dropped whole rather than cut.
    if (n < 0 || size_t(n) >= sizeof line) return;
    os::traceWrite(line, size_t(n));
}
