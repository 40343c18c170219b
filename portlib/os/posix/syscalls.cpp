#include "os/posix/syscalls.h"

#include <fcntl.h>
#include <unistd.h>

namespace os::sys {
namespace {
int openFile(const char* path, int flags, mode_t mode) {
    return ::open(path, flags, mode);
}
} // namespace

int (*open)(const char*, int, mode_t) = openFile;
ssize_t (*write)(int, const void*, size_t) = ::write;
int (*close)(int) = ::close;

} // namespace os::sys
