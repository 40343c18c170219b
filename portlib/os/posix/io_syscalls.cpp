#include "os/posix/io_syscalls.h"

#include <sys/eventfd.h>
#include <sys/socket.h>

namespace os::iosys {

int (*socket)(int, int, int) = ::socket;
int (*eventfd)(unsigned int, int) = ::eventfd;

} // namespace os::iosys
