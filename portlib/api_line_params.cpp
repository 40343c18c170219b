// Serial line parameters: DovaCommParams and the option-text helpers.
#include <dova/dova.h>

#include <cctype>
#include <cerrno>
#include <climits>
#include <cstdlib>

namespace {

// Leading blanks and a sign allowed, digits up to the first non-digit, 0 when
// there are none (the C library's atoi rule, without its overflow hazard).
long readNumber(const char* text) {
    errno = 0;
    long v = std::strtol(text, nullptr, 10);
    if (errno == ERANGE) return v < 0 ? LONG_MIN : LONG_MAX;
    return v;
}

char firstLetter(const char* text) {
    return char(std::toupper(static_cast<unsigned char>(text[0])));
}

} // namespace

extern "C" int32_t DovaCommParams(DOVA_HANDLE h, int32_t baudRate, int32_t byteSize, int32_t parity,
                                  int32_t stopBits, int32_t flow) {
    struct Step {
        int32_t value;
        int32_t (*apply)(DOVA_HANDLE, int32_t);
    };
    const Step steps[] = {{baudRate, DovaSetBaudRate},
                          {byteSize, DovaSetByteSize},
                          {parity, DovaSetParity},
                          {stopBits, DovaSetStopBits},
                          {flow, DovaSetFlow}};
    for (const Step& s : steps) {
        if (s.value == -1) continue;
        int32_t result = s.apply(h, s.value);
        if (result > 0) return result;
    }
    return DOVA_OK;
}

extern "C" int32_t DovaParseBaudRate(const char* text) {
    if (!text) return -1;
    struct Rate {
        long shortForm;
        int32_t rate;
    };
    // Each rate may be written whole or by its leading digits.
    static const Rate rates[] = {
        {110, 110},     {3, 300},       {6, 600},       {12, 1200},     {24, 2400},
        {48, 4800},     {96, 9600},     {144, 14400},   {192, 19200},   {384, 38400},
        {560, 56000},   {576, 57600},   {1152, 115200}, {1280, 128000}, {2560, 256000},
        {4608, 460800}, {5000, 500000}, {5760, 576000}, {6144, 614400}, {92160, 9216000},
    };
    long v = readNumber(text);
    for (const Rate& r : rates)
        if (v == r.shortForm || v == r.rate) return r.rate;
    return -1;
}

extern "C" int32_t DovaParseByteSize(const char* text) {
    if (!text) return -1;
    long v = readNumber(text);
    return v >= 4 && v <= 8 ? int32_t(v) : -1;
}

extern "C" int32_t DovaParseParity(const char* text) {
    if (!text) return -1;
    switch (firstLetter(text)) {
    case 'N':
        return DOVA_PARITY_NONE;
    case 'O':
        return DOVA_PARITY_ODD;
    case 'E':
        return DOVA_PARITY_EVEN;
    case 'M':
        return DOVA_PARITY_MARK;
    case 'S':
        return DOVA_PARITY_SPACE;
    default:
        return -1;
    }
}

extern "C" int32_t DovaParseStopBits(const char* text) {
    if (!text) return -1;
    switch (readNumber(text)) {
    case 1:
        return DOVA_STOPBITS_1;
    case 2:
        return DOVA_STOPBITS_2;
    case 5:
    case 15:
        return DOVA_STOPBITS_1_5;
    default:
        return -1;
    }
}

extern "C" int32_t DovaParseFlow(const char* text) {
    if (!text) return -1;
    switch (firstLetter(text)) {
    case 'N':
        return DOVA_FLOW_NONE;
    case 'D':
        return DOVA_FLOW_DTRDSR;
    case 'R':
        return DOVA_FLOW_RTSCTS;
    case 'X':
        return DOVA_FLOW_XONXOFF;
    case 'W':
        return DOVA_FLOW_DTRDSR_RTSCTS;
    default:
        return -1;
    }
}
