#include "port_io.h"

#include <dova/dova.h>

#include <cstdio>

namespace sendtool {

int32_t DovaPort::write(const uint8_t* data, uint32_t length, uint32_t* written) {
    if (sharesStdout_) std::fflush(stdout);
    return DovaWrite(handle_, data, length, written, 0, 0, 0);
}

int32_t DovaPort::read(uint8_t* buffer, uint32_t size, uint32_t* got) {
    if (sharesStdout_) std::fflush(stdout);
    return DovaRead(handle_, buffer, size, got, 0);
}

int32_t DovaPort::force(int32_t on) {
    return DovaForce(handle_, on);
}

} // namespace sendtool
