#include "backends/vendor/ibm_device_status.h"

#include <cstdio>
#include <cstring>

namespace {

// Indexed by bit number; an unnamed bit still gets its line.
constexpr const char* exceptionLines[16] = {
    " Bit00 Stop key pressed or cover open exception\n",
    " Bit01 \n",
    " Bit02 \n",
    " Bit03 Document registered\n",
    " Bit04 Start 2 key pressed\n",
    " Bit05 Start 1 key pressed\n",
    " Bit06 Multi-user operator panel enter or function key pressed\n",
    " Bit07 POR complete exception\n",
    " Bit08 Multi-user operator panel function key 3 pressed\n",
    " Bit09 End of document exception\n",
    " Bit10 \n",
    " Bit11 Multi-user operator panel function key 1 pressed\n",
    " Bit12 Multi-user operator panel installed\n",
    " Bit13 \n",
    " Bit14 Document ejected\n",
    " Bit15 Multi-user operator panel function\n",
};

constexpr const char* errorLines[8] = {
    " Bit00 REMS feature not installed\n",
    " Bit01 \n",
    " Bit02 \n",
    " Bit03 Journal feature not available\n",
    " Bit04 Hardware error\n",
    " Bit05 Patch data error\n",
    " Bit06 Message overflow error\n",
    " Bit07 Multi-user operator panel error\n",
};

std::string format(const char* pattern, int value) {
    char line[32];
    std::snprintf(line, sizeof line, pattern, value);
    return line;
}

} // namespace

std::string ibmDeviceStatusText(const uint8_t* status) {
    uint16_t words[3];
    std::memcpy(words, status, sizeof words);
    std::string text = format("Exception %04X\n", words[0]);
    for (int bit = 15; bit >= 0; --bit)
        if (words[0] & (1u << bit)) text += exceptionLines[bit];
    text += format("Error %04X\n", words[1]);
    for (int bit = 7; bit >= 0; --bit)
        if (words[1] & (1u << bit)) text += errorLines[bit];
    text += format("Count = %d\n", words[2]);
    return text + "\n";
}
