#include "options.h"

#include "usage.h"

#include <dova/dova.h>

#include <climits>
#include <cstdlib>
#include <cstring>

namespace sendtool {

namespace {

constexpr const char* kOptionString = "ltb:d:f:p:s:w:";

// Letters of the option string that take a value. ':' itself is no letter.
bool takesValue(char letter) {
    if (letter == ':' || letter == '\0') return false;
    const char* at = std::strchr(kOptionString, letter);
    return at != nullptr && at[1] == ':';
}

// The C library's decimal rule (leading blanks, a sign, digits up to the first
// non-digit, 0 when there are none), clamped to 32 bits instead of undefined.
int32_t decimalOrZero(const char* text) {
    long long v = std::strtoll(text, nullptr, 10);
    if (v > INT32_MAX) return INT32_MAX;
    if (v < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(v);
}

} // namespace

int OptionScanner::next() {
    value_ = nullptr;
    if (place_ == nullptr || *place_ == '\0') {
        if (index_ >= argc_) return kEnd;
        const char* arg = argv_[index_];
        if (arg[0] != '-' || arg[1] == '\0') return kEnd;
        if (std::strcmp(arg, "--") == 0) {
            ++index_;
            return kEnd;
        }
        place_ = arg + 1;
    }
    char letter = *place_++;
    if (takesValue(letter)) {
        if (*place_ != '\0') {
            value_ = place_;
        } else if (index_ + 1 < argc_) {
            value_ = argv_[++index_];
        }
        place_ = nullptr;
        ++index_;
    } else if (*place_ == '\0') {
        place_ = nullptr;
        ++index_;
    }
    return static_cast<unsigned char>(letter);
}

ParseResult parseCommandLine(int argc, char** argv, Settings& settings, std::FILE* err) {
    OptionScanner scanner(argc, argv);
    for (int letter; (letter = scanner.next()) != OptionScanner::kEnd;) {
        const char* value = scanner.value();
        int32_t* field = nullptr;
        int32_t parsed = -1;
        switch (letter) {
        case 'b':
            field = &settings.baudRate;
            parsed = DovaParseBaudRate(value);
            break;
        case 'd':
            field = &settings.byteSize;
            parsed = DovaParseByteSize(value);
            break;
        case 'p':
            field = &settings.parity;
            parsed = DovaParseParity(value);
            break;
        case 's':
            field = &settings.stopBits;
            parsed = DovaParseStopBits(value);
            break;
        case 'f':
            field = &settings.flow;
            parsed = DovaParseFlow(value);
            break;
        case 't':
            settings.showData = true;
            continue;
        case 'o':
            settings.binary = true;
            continue;
        case 'w':
            if (value == nullptr) {
                printUsage(err);
                return {false, 1};
            }
            // A negative wait would turn into a near-endless sleep.
            settings.waitSeconds = decimalOrZero(value);
            if (settings.waitSeconds < 0) settings.waitSeconds = 0;
            continue;
        default:
            std::fprintf(err, "unkown parameter %c\n", letter);
            continue;
        }
        if (parsed == -1) {
            std::fprintf(err, "Invalid parameter %c\n", letter);
            return {false, 1};
        }
        *field = parsed;
    }
    if (argc - scanner.operandIndex() != 2) {
        printUsage(err);
        return {false, 1};
    }
    settings.scriptPath = argv[scanner.operandIndex()];
    settings.target = argv[scanner.operandIndex() + 1];
    return {true, 0};
}

} // namespace sendtool
