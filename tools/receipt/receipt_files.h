// A rendered job on disk: the paper as a black-and-white PNG and the
// transcript as UTF-8 text.
#pragma once

#include "paper.h"

#include <string>
#include <string_view>

namespace receipt {

// Each file is written under a temporary name and renamed into place, so a
// program watching the folder never sees half a file. False with a reason
// when it cannot.
bool writePng(const Paper& paper, const std::string& path, std::string* error);
bool writeText(std::string_view text, const std::string& path, std::string* error);

} // namespace receipt
