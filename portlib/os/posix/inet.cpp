#include "os/os_inet.h"

#include <arpa/inet.h>
#include <netinet/in.h>

namespace os {

uint32_t inetAddr(const char* text) {
    return uint32_t(::inet_addr(text));
}

std::string inetText(uint32_t address) {
    in_addr a{};
    a.s_addr = address;
    char buf[INET_ADDRSTRLEN] = {};
    ::inet_ntop(AF_INET, &a, buf, sizeof buf);
    return buf;
}

} // namespace os
