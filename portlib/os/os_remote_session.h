// The client computer of the remote session this process runs in, for ports
// that print on the printer at the user's own desk rather than the host's.
#pragma once

#include <cstdint>

namespace os {

// The client's IPv4 address in network byte order; 0 when the process runs
// in no remote session or the client is not reached over IPv4. On POSIX the
// session is the SSH connection: the first field of SSH_CONNECTION.
uint32_t remoteClientAddress();

} // namespace os
