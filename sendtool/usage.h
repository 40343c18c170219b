// The banner and the usage text of prnfeed.
#pragma once

#include <cstdint>
#include <cstdio>

namespace sendtool {

void printBanner(std::FILE* out, uint32_t libraryVersion);
void printUsage(std::FILE* out);

} // namespace sendtool
