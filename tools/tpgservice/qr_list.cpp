#include "qr_list.h"

#include <algorithm>
#include <charconv>
#include <set>

namespace tpgservice {

namespace {

std::string_view trim(std::string_view s) {
    while (!s.empty() && (s.front() == ' ' || s.front() == '\t'))
        s.remove_prefix(1);
    while (!s.empty() && (s.back() == ' ' || s.back() == '\t'))
        s.remove_suffix(1);
    return s;
}

std::optional<std::int64_t> number(std::string_view s) {
    s = trim(s);
    if (!s.empty() && s.front() == '+') s.remove_prefix(1);
    std::int64_t value = 0;
    auto [end, ec] = std::from_chars(s.data(), s.data() + s.size(), value);
    if (s.empty() || ec != std::errc() || end != s.data() + s.size() || value < 0)
        return std::nullopt;
    return value;
}

} // namespace

std::optional<std::vector<std::int64_t>> parseQrList(std::string_view text) {
    std::set<std::int64_t> numbers;
    if (trim(text).empty()) return std::vector<std::int64_t>();
    while (true) {
        auto comma = text.find(',');
        std::string_view item = trim(text.substr(0, comma));
        auto dots = item.find("..");
        if (dots == std::string_view::npos) {
            auto n = number(item);
            if (!n) return std::nullopt;
            numbers.insert(*n);
        } else {
            auto low = number(item.substr(0, dots));
            auto high = number(item.substr(dots + 2));
            if (!low || !high || *high < *low) return std::nullopt;
            if (*high - *low >= static_cast<std::int64_t>(kMaxSheetCodes)) return std::nullopt;
            for (auto n = *low; n <= *high; ++n)
                numbers.insert(n);
        }
        if (numbers.size() > kMaxSheetCodes) return std::nullopt;
        if (comma == std::string_view::npos) break;
        text.remove_prefix(comma + 1);
    }
    return std::vector<std::int64_t>(numbers.begin(), numbers.end());
}

} // namespace tpgservice
