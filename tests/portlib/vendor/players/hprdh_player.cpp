// Plays libHPRDH.so. Scripted keys: each function's name for its result
// (default 0), "PrtOpenA.printer" (default 41), "PrtWrite.written" (default
// all offered).
#include "player.h"

#pragma GCC visibility push(default)
#include "backends/vendor/hprdh_library.h"
#pragma GCC visibility pop

using namespace player;

int32_t PrtOpenA(HprdhPrinter* printer, const char* printerName) {
    record("PrtOpenA(" + str(printerName) + ")");
    *printer = HprdhPrinter(result("PrtOpenA.printer", 41));
    return int32_t(result("PrtOpenA", 0));
}

int32_t PrtClaim(HprdhPrinter printer, uint32_t timeoutMs) {
    record("PrtClaim(" + num(printer) + ", " + num(timeoutMs) + ")");
    return int32_t(result("PrtClaim", 0));
}

#ifndef PLAYER_OPENERS_ONLY
int32_t PrtWrite(HprdhPrinter printer, const uint8_t* data, uint32_t size, uint32_t* written) {
    record("PrtWrite(" + num(printer) + ", " + num(size) + ")");
    uint32_t n = uint32_t(result("PrtWrite.written", size));
    took(data, n < size ? n : size);
    *written = n;
    return int32_t(result("PrtWrite", 0));
}

int32_t PrtRelease(HprdhPrinter printer) {
    record("PrtRelease(" + num(printer) + ")");
    return int32_t(result("PrtRelease", 0));
}

int32_t PrtClose(HprdhPrinter* printer) {
    record("PrtClose(" + num(*printer) + ")");
    *printer = -1;
    return int32_t(result("PrtClose", 0));
}
#endif
