// Comparing names without regard to letter case, as the Windows calls that
// take port, library and key names do (ASCII letters only).
#pragma once

#include <cstddef>
#include <string>

namespace os {

bool equalNoCase(const char* a, const char* b);
// Whether text begins with prefix.
bool startsWithNoCase(const char* text, const char* prefix);
// Compares at most n characters: less than, equal to or greater than 0, as
// the C library's comparison without case does.
int compareNoCase(const char* a, const char* b, size_t n);

// A narrow name in the wide form the libraries that take wide names expect:
// UTF-8 here (what the ANSI code page is to Windows) to UTF-16, at most
// maxUnits code units without the terminator, never cutting a surrogate
// pair. A byte that is not UTF-8 stands for itself (as Latin-1 would).
std::u16string toUtf16(const char* text, size_t maxUnits);

} // namespace os
