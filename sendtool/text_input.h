// Reads a script file the way a text-mode stream does on Windows: every
// CR LF pair arrives as a single LF. The desk writes its scripts with CR LF
// line ends, and a CR left in front of a newline would reach the printer.
#pragma once

#include <cstddef>
#include <cstdio>

namespace sendtool {

class TextInput {
public:
    explicit TextInput(std::FILE* file) : file_(file) {}

    // Fills up to max bytes (any max, a single byte included); 0 means the
    // end of the stream, or a read error (failed() tells which).
    size_t read(char* out, size_t max);
    bool failed() const { return failed_; }
    // How many times read() was asked for data.
    size_t reads() const { return reads_; }

private:
    std::FILE* file_;
    bool failed_ = false;
    size_t reads_ = 0;
};

} // namespace sendtool
