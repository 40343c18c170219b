// WSpoolerBase: which installed printer a port prints to. The spooler port
// and the device-library ports that print through a named printer share it.
//
// A port holds a printer number (0 the default printer, n the n-th of the
// spooler's own printers in name order) and a printer name. A name set with
// setName is used as it stands; otherwise claim fills it from the number and
// keeps it, so a later claim goes to the same printer even when the default
// has changed meanwhile. setNo clears it.
#pragma once

#include "dova_base.h"

#include <cstddef>

class WSpoolerBase : public DovaBase {
public:
    // Room for a name of 259 characters and its terminating NUL.
    static constexpr size_t nameSize = 260;

    // getName writes at most nameSize bytes. A name that does not fit is
    // refused with DOVA_E_PARAM and leaves the port without a printer, so the
    // claim fails instead of printing somewhere else.
    int32_t getName(char* name) override;
    int32_t setName(const char* name) override;
    int32_t getNo(int32_t* no) override;
    // 9999 while open; any other number is stored (and checked at claim).
    int32_t setNo(int32_t no) override;

protected:
    // Fills an empty printer name from the number. 0, or 1013 for a negative
    // number. A printer that cannot be found leaves the name empty (the
    // caller's open then fails); the trace says why.
    int32_t resolvePrinterName();
    const char* printerName() const { return name_; }

private:
    void storeName(const char* name);

    int32_t no_ = 0;
    char name_[nameSize] = {};
    bool nameRefused_ = false;
};
