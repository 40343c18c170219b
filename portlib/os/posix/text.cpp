#include "os/os_text.h"

#include <cstdint>
#include <cstring>

namespace os {
namespace {

unsigned char lower(char c) {
    auto u = static_cast<unsigned char>(c);
    return u >= 'A' && u <= 'Z' ? static_cast<unsigned char>(u - 'A' + 'a') : u;
}

} // namespace

int compareNoCase(const char* a, const char* b, size_t n) {
    for (size_t i = 0; i < n; ++i) {
        unsigned char x = lower(a[i]), y = lower(b[i]);
        if (x != y) return x < y ? -1 : 1;
        if (x == 0) return 0;
    }
    return 0;
}

bool equalNoCase(const char* a, const char* b) {
    return compareNoCase(a, b, size_t(-1)) == 0;
}

bool startsWithNoCase(const char* text, const char* prefix) {
    return compareNoCase(text, prefix, std::strlen(prefix)) == 0;
}

std::u16string toUtf16(const char* text, size_t maxUnits) {
    std::u16string out;
    if (!text) return out;
    const auto* s = reinterpret_cast<const unsigned char*>(text);
    while (*s) {
        uint32_t c = *s;
        size_t length = 1;
        if (c >= 0xC2 && c <= 0xF4) {
            size_t more = c >= 0xF0 ? 3 : c >= 0xE0 ? 2 : 1;
            uint32_t value = c & (0x3F >> more);
            size_t i = 1;
            for (; i <= more && (s[i] & 0xC0) == 0x80; ++i)
                value = (value << 6) | (s[i] & 0x3F);
            // Overlong forms, surrogates and values past U+10FFFF are not
            // characters: their lead byte then stands for itself.
            bool valid = i == more + 1 &&
                         value >= (more == 1   ? 0x80u
                                   : more == 2 ? 0x800u
                                               : 0x10000u) &&
                         value <= 0x10FFFF && (value < 0xD800 || value > 0xDFFF);
            if (valid) {
                c = value;
                length = more + 1;
            }
        }
        size_t units = c > 0xFFFF ? 2 : 1;
        if (out.size() + units > maxUnits) break;
        if (units == 2) {
            out.push_back(char16_t(0xD800 + ((c - 0x10000) >> 10)));
            out.push_back(char16_t(0xDC00 + ((c - 0x10000) & 0x3FF)));
        } else {
            out.push_back(char16_t(c));
        }
        s += length;
    }
    return out;
}

} // namespace os
