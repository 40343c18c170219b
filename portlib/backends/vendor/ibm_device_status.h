// The device status of an IBM printer as the worker prints it when a write
// fails: the exception word, the error word and the count, one line per set
// bit, for the operator watching the console.
#pragma once

#include <cstdint>
#include <string>

// status: the library's 6 bytes (three 16-bit words in the machine's order).
std::string ibmDeviceStatusText(const uint8_t* status);
