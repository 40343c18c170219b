// Target names ("COM3", "KPUSB0", "NET@10.0.0.5:9100", "out.prn" ...) to
// interface type code, port number, channel, IPv4 address and TCP port.
// _DovaWhatIF itself is declared in dova.h.
#pragma once

#include <cstdint>

// A usable printer address (network byte order): not 0, not 255.255.255.255,
// first octet neither 0 nor 255.
bool dovaIsValidIPv4(uint32_t address);
bool dovaIsValidTcpPort(uint32_t port);
