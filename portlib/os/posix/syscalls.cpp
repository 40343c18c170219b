#include "os/posix/syscalls.h"

#include <fcntl.h>
#include <sys/eventfd.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <sys/socket.h>
#include <unistd.h>

namespace os::sys {
namespace {

// open and ioctl are variadic: the pointers need fixed signatures.
int openPath(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}

int ioctlRequest(int fd, unsigned long request, void* argument) {
    return ::ioctl(fd, request, argument);
}

} // namespace

int (*open)(const char*, int, mode_t) = openPath;
ssize_t (*read)(int, void*, size_t) = ::read;
ssize_t (*write)(int, const void*, size_t) = ::write;
int (*close)(int) = ::close;
int (*flock)(int, int) = ::flock;
int (*ioctl)(int, unsigned long, void*) = ioctlRequest;

int (*socket)(int, int, int) = ::socket;
ssize_t (*send)(int, const void*, size_t, int) = ::send;
ssize_t (*recv)(int, void*, size_t, int) = ::recv;
int (*eventfd)(unsigned int, int) = ::eventfd;

int (*poll)(pollfd*, nfds_t, int) = ::poll;
int (*nanosleep)(const timespec*, timespec*) = ::nanosleep;

} // namespace os::sys
