// The run's settings record and the command-line parser that fills it.
#pragma once

#include <cstdint>
#include <cstdio>

namespace sendtool {

struct Settings {
    // -1 leaves the port's own line setting alone.
    int32_t baudRate = -1;
    int32_t byteSize = -1;
    int32_t parity = -1;
    int32_t stopBits = -1;
    int32_t flow = -1;
    bool showData = false;
    bool binary = false;
    int32_t waitSeconds = 0;
    const char* scriptPath = nullptr;
    const char* target = nullptr;
};

// A small getopt over "ltb:d:f:p:s:w:". Letters may share one argument
// (-to), a value may be glued on (-b9600) or follow (-b 9600); "--" and a
// lone "-" end the options.
class OptionScanner {
public:
    static constexpr int kEnd = -1;

    OptionScanner(int argc, char** argv) : argc_(argc), argv_(argv) {}

    // The next option letter, or kEnd. value() then holds its value text, or
    // nullptr when the letter takes none or none was left on the line.
    int next();
    const char* value() const { return value_; }
    // Index of the first operand once next() has returned kEnd.
    int operandIndex() const { return index_; }

private:
    int argc_;
    char** argv_;
    int index_ = 1;
    const char* place_ = nullptr; // inside the current argument, or null between arguments
    const char* value_ = nullptr;
};

struct ParseResult {
    bool ok = false;
    int exitCode = 0; // meaningful when !ok
};

// Fills settings from the command line. Messages go to err; on a usage error
// the usage text is printed there too.
ParseResult parseCommandLine(int argc, char** argv, Settings& settings, std::FILE* err);

} // namespace sendtool
