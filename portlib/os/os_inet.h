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

// The system's codes for a connection that has no address to go to, and for
// one whose peer did not answer in time, as os::lastError() would give them.
int errorNoAddress();
int errorTimedOut();

} // namespace os
