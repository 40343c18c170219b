#include "script_values.h"

#include <cctype>

namespace sendtool {

uint32_t saturatedDecimal(std::string_view digits) {
    constexpr uint64_t kMax = 2147483647;
    uint64_t value = 0;
    for (char c : digits) {
        value = value * 10 + static_cast<uint64_t>(c - '0');
        if (value > kMax) return kMax;
    }
    return static_cast<uint32_t>(value);
}

uint32_t hexValue(std::string_view digits) {
    uint32_t value = 0;
    for (char c : digits) {
        uint32_t d = c <= '9' ? c - '0' : (c | 0x20) - 'a' + 10;
        value = (value << 4) | d;
    }
    return value;
}

uint8_t escapeByte(char c) {
    switch (c) {
    case '0':
        return 0x00;
    case 'a':
        return 0x07;
    case 'b':
        return 0x08;
    case 't':
        return 0x09;
    case 'n':
        return 0x0A;
    case 'r':
        return 0x0D;
    default:
        return static_cast<uint8_t>(c);
    }
}

int32_t leadingDecimal(std::string_view text) {
    size_t i = 0;
    // The blanks of isspace in the C locale.
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > 2147483648LL) value = 2147483648LL;
    }
    if (negative) value = -value;
    if (value > INT32_MAX) return INT32_MAX;
    if (value < INT32_MIN) return INT32_MIN;
    return static_cast<int32_t>(value);
}

} // namespace sendtool
