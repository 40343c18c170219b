// The layout of libusb 0.1's records, as offsets and sizes in one list, so
// that our header and the library's own can be compared from two files that
// must not see each other (both declare the same struct names).
#pragma once

#include <cstddef>
#include <vector>

std::vector<size_t> ourUsbLayout();
std::vector<size_t> systemUsbLayout();
