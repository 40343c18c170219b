// The thin layer through which the POSIX seam makes its system calls, so that
// tests can inject EINTR, short writes and failures by swapping a pointer.
#pragma once

#include <sys/types.h>

namespace os::sys {

extern int (*open)(const char* path, int flags, mode_t mode);
extern ssize_t (*write)(int fd, const void* data, size_t length);
extern int (*close)(int fd);

} // namespace os::sys
