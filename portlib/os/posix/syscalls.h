// The one thin layer through which the POSIX seam makes the system calls of
// files, sockets, device nodes, waits and sleeps, reached through pointers so
// that tests can inject EINTR, short transfers and failures (and play device
// requests no real peer answers) by swapping a pointer. Every pointer starts
// at the real call.
#pragma once

#include <poll.h>
#include <sys/types.h>
#include <time.h>

namespace os::sys {

extern int (*open)(const char* path, int flags, mode_t mode);
extern ssize_t (*read)(int fd, void* buffer, size_t size);
extern ssize_t (*write)(int fd, const void* data, size_t length);
extern int (*close)(int fd);
extern int (*flock)(int fd, int operation);
// The request's argument is passed as one pointer (or an integer cast to one).
extern int (*ioctl)(int fd, unsigned long request, void* argument);

extern int (*socket)(int domain, int type, int protocol);
extern ssize_t (*send)(int fd, const void* data, size_t length, int flags);
extern ssize_t (*recv)(int fd, void* buffer, size_t size, int flags);
extern int (*eventfd)(unsigned int initval, int flags);

extern int (*poll)(pollfd* fds, nfds_t count, int timeoutMs);
extern int (*nanosleep)(const timespec* request, timespec* remaining);

} // namespace os::sys
