// Port and host names as the printer maker's libraries take them: UTF-16.
#pragma once

#include <string>
#include <string_view>

// UTF-8 text (as names are given to the library) as UTF-16; a byte that
// starts no valid sequence becomes U+FFFD.
std::u16string wideName(std::string_view text);
