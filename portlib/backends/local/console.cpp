#include "backends/local/console.h"

#include "os/os_console.h"

#include <dova/dova.h>

#include <cstdio>

WCon::~WCon() {
    release(0);
}

uint32_t WCon::getIFType() {
    return DOVA_IF_CON;
}

int32_t WCon::getAsyncMode() {
    return 0;
}

const char* WCon::getTypeName() {
    return "CON";
}

int32_t WCon::claim(int32_t /*timeout*/) {
    handle_ = os::consoleHandle();
    return DOVA_OK;
}

int32_t WCon::release(int32_t /*timeout*/) {
    handle_ = -1;
    return DOVA_OK;
}

int32_t WCon::send(const void* data, uint32_t length, uint32_t* written, uint32_t, uint32_t,
                   uint32_t) {
    if (written) *written = 0;
    if (handle_ == -1) return DOVA_E_WRITE; // not claimed: no console handle to write to
    if (!os::consoleWrite(data, length)) return DOVA_E_WRITE;
    if (written) *written = length;
    return DOVA_OK;
}

int32_t WCon::recv(void*, uint32_t, uint32_t* read, uint32_t) {
    if (read) *read = 0;
    return DOVA_E_NOTSUPPORTED;
}

intptr_t WCon::getHandle() {
    return handle_;
}

int32_t WCon::isOpen() {
    return 1;
}

int32_t WCon::isReady() {
    return 1;
}

const char* WDump::getTypeName() {
    return "DUMP";
}

int32_t WDump::claim(int32_t) {
    return DOVA_OK;
}

int32_t WDump::release(int32_t) {
    return DOVA_OK;
}

int32_t WDump::send(const void* data, uint32_t length, uint32_t* written, uint32_t, uint32_t,
                    uint32_t) {
    auto bytes = static_cast<const unsigned char*>(data);
    for (uint32_t i = 0; i < length; ++i) {
        unsigned b = bytes[i];
        std::printf(">%06X: %3u  %02Xh  %s\n", counter_, b, b, DovaByteName(uint8_t(b)));
        ++counter_;
    }
    std::fflush(stdout);
    if (written) *written = length;
    return DOVA_OK;
}

int32_t WDump::recv(void*, uint32_t, uint32_t* read, uint32_t) {
    if (read) *read = 0;
    return DOVA_OK;
}
