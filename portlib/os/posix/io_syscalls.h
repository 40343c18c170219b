// The system calls behind os::Socket and os::Event, reached through pointers
// so that tests can make them fail (a socket or an event the system refuses).
#pragma once

namespace os::iosys {

extern int (*socket)(int domain, int type, int protocol);
extern int (*eventfd)(unsigned int initval, int flags);

} // namespace os::iosys
