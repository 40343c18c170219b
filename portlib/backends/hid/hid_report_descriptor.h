// What a HID port needs to know of a device's report descriptor: the usage
// of its first top-level collection and the length of its longest input,
// output and feature report, counted the way Windows counts them for a
// device (HIDP_CAPS): the report's bytes plus one for the report id, that
// byte included even when the descriptor uses no report ids, and 0 for a
// kind the device has no report of.
//
// A hidraw node carries every collection of the device, so the lengths are
// the longest of their kind over the whole descriptor: a report of any
// collection fits a buffer of that size.
//
// The descriptor comes from the device, so the parser trusts nothing in it:
// it reads at most kHidMaxDescriptorSize bytes, bounds the global-item
// stack, and refuses a truncated item, an unbalanced collection or stack
// pop, report id 0, and a report longer than a 16-bit length can carry.
#pragma once

#include <cstddef>
#include <cstdint>

// The largest descriptor a HID device may have (the kernel refuses longer).
constexpr size_t kHidMaxDescriptorSize = 4096;

struct HidReportCaps {
    uint16_t usagePage = 0; // of the first top-level collection
    uint16_t usage = 0;
    uint32_t inputReportLength = 0;
    uint32_t outputReportLength = 0;
    uint32_t featureReportLength = 0;
};

// false for a descriptor that is malformed or has no top-level collection;
// caps is then left as it was.
bool parseHidReportDescriptor(const uint8_t* data, size_t size, HidReportCaps* caps);
