#pragma once
// The company's list of table numbers as typed on the desk ("1,3,5..8,10"),
// read to know which codes belong on the A4 sheet.

#include <cstdint>
#include <optional>
#include <string_view>
#include <vector>

namespace tpgservice {

inline constexpr std::size_t kMaxSheetCodes = 500;

// Ascending, each number once; nullopt when the text is not such a list, or
// holds a negative number, or more than kMaxSheetCodes numbers.
std::optional<std::vector<std::int64_t>> parseQrList(std::string_view text);

} // namespace tpgservice
