#include "backends/printsvc/print_service_port.h"

#include "os/os_inet.h"
#include "target_names.h"

#include <dova/dova.h>

#include <cstring>

namespace {

constexpr size_t nameSize = 260;

} // namespace

int32_t WPrintServicePort::getName(char* name) {
    if (!name) return DOVA_E_PARAM;
    std::memcpy(name, name_.c_str(), name_.size() + 1);
    return DOVA_OK;
}

int32_t WPrintServicePort::setName(const char* name) {
    if (!name) return DOVA_E_PARAM;
    if (open_) return DOVA_E_SYSTEM;
    if (std::strlen(name) >= nameSize) return DOVA_E_PARAM;
    name_ = name;
    return DOVA_OK;
}

int32_t WPrintServicePort::getNo(int32_t* no) {
    if (!no) return DOVA_E_PARAM;
    *no = no_;
    return DOVA_OK;
}

int32_t WPrintServicePort::setNo(int32_t no) {
    if (open_) return DOVA_E_SYSTEM;
    if (no < 1 || no >= 1000) return DOVA_E_ADDRESS;
    no_ = no;
    name_.clear();
    return DOVA_OK;
}

int32_t WPrintServicePort::getCh(int32_t* ch) {
    if (!ch) return DOVA_E_PARAM;
    *ch = ch_;
    return DOVA_OK;
}

int32_t WPrintServicePort::setCh(int32_t ch) {
    if (open_) return DOVA_E_SYSTEM;
    ch_ = ch;
    return DOVA_OK;
}

int32_t WPrintServicePort::getIP(uint32_t* address) {
    if (!address) return DOVA_E_PARAM;
    *address = ip_;
    return DOVA_OK;
}

int32_t WPrintServicePort::setIP(uint32_t address) {
    ip_ = address;
    return DOVA_OK;
}

std::string WPrintServicePort::usableAddress() const {
    return dovaIsValidIPv4(ip_) ? os::inetText(ip_) : std::string();
}

uint32_t WPrintServicePort::dataArrived(const void* data, uint32_t length) {
    static const uint8_t nothing = 0;
    if (!data) {
        data = &nothing;
        length = 0;
    }
    return storeReceived(data, length);
}
