// The library's debug trace: printf-style lines to the trace sink (the
// debugger output on Windows; on POSIX the file named by DOVA_TRACE, "-" for
// standard error, nothing when unset). Safe from any thread: each call formats
// into its own buffer and hands the whole line to the sink at once. A text of
// more than 1024 bytes is dropped. Lines begin with "DOVA: " by convention.
#pragma once

void dovaTrace(const char* format, ...) __attribute__((format(printf, 1, 2)));
