// Binary mode: the file goes to the port unchanged, block by block, with a
// percentage on the console.
#pragma once

#include "port_io.h"
#include "stalled_port.h"

#include <cstdio>

namespace sendtool {

enum class RawResult {
    Sent = 0,        // the whole file went to the port
    ForceFailed = 1, // forced sending could not be switched off; nothing was sent
    WriteFailed = 3, // the port refused a write, or took nothing for the whole limit
    ReadFailed,      // the file could not be read to its end
};

// progress receives the percentage lines, out the write error line.
RawResult sendRaw(PortIo& port, std::FILE* file, std::FILE* progress, std::FILE* out,
                  StallLimit limit = {});

} // namespace sendtool
