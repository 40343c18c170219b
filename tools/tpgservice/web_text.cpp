#include "web_text.h"

#include <cctype>

namespace tpgservice {

std::string htmlEscape(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            out += "&amp;";
            break;
        case '<':
            out += "&lt;";
            break;
        case '>':
            out += "&gt;";
            break;
        case '"':
            out += "&quot;";
            break;
        case '\'':
            out += "&#39;";
            break;
        default:
            out += c;
        }
    }
    return out;
}

std::string percentEncode(std::string_view text) {
    static constexpr char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += kHex[c >> 4];
            out += kHex[c & 15];
        }
    }
    return out;
}

namespace {

bool startsWithNoCase(std::string_view text, std::string_view prefix) {
    if (text.size() < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (std::tolower(static_cast<unsigned char>(text[i])) != prefix[i]) return false;
    }
    return true;
}

} // namespace

std::string safeLink(std::string_view link) {
    while (!link.empty() && std::isspace(static_cast<unsigned char>(link.front())))
        link.remove_prefix(1);
    while (!link.empty() && std::isspace(static_cast<unsigned char>(link.back())))
        link.remove_suffix(1);
    std::string clean;
    for (char c : link) {
        // Control characters have no business in a link and could split a header.
        if (static_cast<unsigned char>(c) >= 0x20 && c != 0x7f) clean += c;
    }
    if (startsWithNoCase(clean, "https://") || startsWithNoCase(clean, "http://")) return clean;
    return "https://" + clean;
}

} // namespace tpgservice
