// Any bytes a device may hand over as its report descriptor must parse
// without touching memory outside them, and what parses must stay within
// the 16-bit lengths a HID port sizes its buffers by.
#include "backends/hid/hid_report_descriptor.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    HidReportCaps caps;
    if (!parseHidReportDescriptor(data, size, &caps)) return 0;
    if (caps.inputReportLength > 0xFFFF || caps.outputReportLength > 0xFFFF ||
        caps.featureReportLength > 0xFFFF)
        __builtin_trap();
    return 0;
}
