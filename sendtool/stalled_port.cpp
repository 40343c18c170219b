#include "stalled_port.h"

#include <cstdio>

namespace sendtool {

void reportStalledPort(uint32_t giveUpMs) {
    std::fprintf(stderr, "The port accepted no data for %u seconds; nothing more is sent.\n",
                 giveUpMs / 1000);
}

} // namespace sendtool
