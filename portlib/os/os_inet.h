// IPv4 address texts. Addresses are in network byte order.
#pragma once

#include <cstdint>
#include <string>

namespace os {

// The platform's dotted-address parser (inet_addr): 0xFFFFFFFF when the text
// is not an address (which is also 255.255.255.255).
uint32_t inetAddr(const char* text);

// Dotted form, "a.b.c.d".
std::string inetText(uint32_t address);

} // namespace os
