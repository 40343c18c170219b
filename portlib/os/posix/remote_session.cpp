#include "os/os_remote_session.h"

#include <arpa/inet.h>
#include <netinet/in.h>

#include <cstdlib>
#include <cstring>
#include <string>

namespace os {

uint32_t remoteClientAddress() {
    // "client-address client-port server-address server-port"
    const char* connection = std::getenv("SSH_CONNECTION");
    if (!connection) return 0;
    std::string client(connection, std::strcspn(connection, " "));
    in_addr address{};
    // Only a dotted IPv4 address; an IPv6 client leaves the address unset.
    if (::inet_pton(AF_INET, client.c_str(), &address) != 1) return 0;
    return address.s_addr;
}

} // namespace os
