// Comparing names without regard to letter case, as the Windows calls that
// take port, library and key names do (ASCII letters only).
#pragma once

#include <cstddef>

namespace os {

bool equalNoCase(const char* a, const char* b);
// Whether text begins with prefix.
bool startsWithNoCase(const char* text, const char* prefix);
// Compares at most n characters: less than, equal to or greater than 0, as
// the C library's comparison without case does.
int compareNoCase(const char* a, const char* b, size_t n);

} // namespace os
