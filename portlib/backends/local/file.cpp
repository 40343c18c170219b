#include "backends/local/file.h"

#include "trace.h"

#include <dova/dova.h>

#include <cstring>

WFile::~WFile() {
    release(0);
}

uint32_t WFile::getIFType() {
    return DOVA_IF_FILE;
}

int32_t WFile::getAsyncMode() {
    return 0;
}

const char* WFile::getTypeName() {
    return "FILE";
}

int32_t WFile::getName(char* name) {
    if (!name) return DOVA_E_PARAM;
    std::memcpy(name, name_, std::strlen(name_) + 1);
    return DOVA_OK;
}

int32_t WFile::setName(const char* name) {
    if (!name) return DOVA_E_PARAM;
    size_t length = std::strlen(name);
    if (length >= nameSize) {
        name_[0] = 0;
        nameTooLong_ = true;
        return DOVA_E_PARAM;
    }
    std::memcpy(name_, name, length + 1);
    nameTooLong_ = false;
    return DOVA_OK;
}

int32_t WFile::claim(int32_t /*timeout*/) {
    dovaTrace("DOVA: WFile::claim(%s)\n", name_);
    release(0);
    if (nameTooLong_ || name_[0] == 0) return DOVA_E_OPEN;
    file_ = os::File::createAlways(name_);
    return file_.isOpen() ? DOVA_OK : DOVA_E_OPEN;
}

int32_t WFile::release(int32_t timeout) {
    if (!file_.isOpen()) return DOVA_OK;
    dovaTrace("DOVA: WFile::release(%d)\n", timeout);
    int32_t result = waitSendDone(timeout);
    file_.close();
    return result;
}

int32_t WFile::send(const void* data, uint32_t length, uint32_t* written, uint32_t, uint32_t,
                    uint32_t) {
    if (written) *written = 0;
    long n = file_.write(data, length);
    if (n < 0) return DOVA_E_WRITE;
    if (written) *written = uint32_t(n);
    return DOVA_OK;
}

int32_t WFile::recv(void*, uint32_t, uint32_t* read, uint32_t) {
    if (read) *read = 0;
    return DOVA_E_NOTSUPPORTED;
}

intptr_t WFile::getHandle() {
    return file_.native();
}

int32_t WFile::isOpen() {
    return file_.isOpen() ? 1 : 0;
}

int32_t WFile::isReady() {
    return 1;
}
