#pragma once
// Escaping of untrusted text for the places the service writes it into.

#include <string>
#include <string_view>

namespace tpgservice {

// For HTML text and quoted attribute values.
std::string htmlEscape(std::string_view text);

// For one component of a URL (query value or path segment): everything but
// the unreserved characters becomes %XX.
std::string percentEncode(std::string_view text);

// A company's own option link made safe to hand to a browser: only http(s)
// links are followed as they are; a bare host such as "www.menu.sk" gets
// "https://" in front, so no other scheme (javascript:, data:) can sneak in.
std::string safeLink(std::string_view link);

} // namespace tpgservice
