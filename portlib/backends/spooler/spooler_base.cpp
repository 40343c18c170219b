#include "backends/spooler/spooler_base.h"

#include "os/os_spooler.h"
#include "trace.h"

#include <dova/dova.h>

#include <cstring>

int32_t WSpoolerBase::getName(char* name) {
    if (!name) return DOVA_E_PARAM;
    std::memcpy(name, name_, std::strlen(name_) + 1);
    return DOVA_OK;
}

int32_t WSpoolerBase::setName(const char* name) {
    if (!name) return DOVA_E_PARAM;
    storeName(name);
    nameRefused_ = name_[0] == 0 && name[0] != 0;
    return nameRefused_ ? DOVA_E_PARAM : DOVA_OK;
}

int32_t WSpoolerBase::getNo(int32_t* no) {
    if (!no) return DOVA_E_PARAM;
    *no = no_;
    return DOVA_OK;
}

int32_t WSpoolerBase::setNo(int32_t no) {
    if (isOpen()) return DOVA_E_SYSTEM;
    no_ = no;
    name_[0] = 0;
    nameRefused_ = false;
    return DOVA_OK;
}

void WSpoolerBase::storeName(const char* name) {
    // A name that does not fit is not cut: the port is left without one.
    size_t length = std::strlen(name);
    if (length >= nameSize) {
        name_[0] = 0;
        return;
    }
    std::memcpy(name_, name, length + 1);
}

int32_t WSpoolerBase::resolvePrinterName() {
    if (name_[0] != 0 || nameRefused_) return DOVA_OK;
    if (no_ < 0) return DOVA_E_ADDRESS;
    std::string why;
    if (no_ == 0) {
        if (auto name = os::spoolerDefaultPrinter(&why))
            storeName(name->c_str());
        else
            dovaTrace("DOVA: %.900s\n", why.c_str());
        return DOVA_OK;
    }
    auto printers = os::spoolerPrinters(&why);
    if (!printers)
        dovaTrace("DOVA: %.900s\n", why.c_str());
    else if (size_t(no_) <= printers->size())
        storeName((*printers)[size_t(no_) - 1].c_str());
    else
        dovaTrace("DOVA: printer %d asked for, the spooler has %zu\n", no_, printers->size());
    return DOVA_OK;
}
