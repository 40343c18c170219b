#include "os/os_text.h"

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

} // namespace os
