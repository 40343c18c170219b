#include "backends/hid/hid_report_descriptor.h"

#include <array>

namespace {

enum ItemType : uint8_t { Main = 0, Global = 1, Local = 2, Reserved = 3 };

// Main item tags.
constexpr uint8_t kInput = 0x8;
constexpr uint8_t kOutput = 0x9;
constexpr uint8_t kCollection = 0xA;
constexpr uint8_t kFeature = 0xB;
constexpr uint8_t kEndCollection = 0xC;
// Global item tags.
constexpr uint8_t kUsagePage = 0x0;
constexpr uint8_t kReportSize = 0x7;
constexpr uint8_t kReportId = 0x8;
constexpr uint8_t kReportCount = 0x9;
constexpr uint8_t kPush = 0xA;
constexpr uint8_t kPop = 0xB;
// Local item tags.
constexpr uint8_t kUsage = 0x0;

constexpr uint8_t kLongItemPrefix = 0xFE;

// The kernel keeps four levels; real devices use one or two.
constexpr size_t kGlobalStackDepth = 16;
// HIDP_CAPS lengths are 16-bit, and the report id byte is added to them.
constexpr uint64_t kLongestReportBits = 0xFFFEull * 8;

struct Globals {
    uint16_t usagePage = 0;
    uint32_t reportSize = 0;
    uint32_t reportCount = 0;
    uint8_t reportId = 0;
};

// Bits of each report, by kind (input, output, feature) and report id.
struct Reports {
    std::array<std::array<uint64_t, 256>, 3> bits{};
    std::array<std::array<bool, 256>, 3> present{};
};

uint32_t longest(const Reports& reports, int kind) {
    uint64_t bytes = 0;
    bool any = false;
    for (size_t id = 0; id < 256; ++id) {
        if (!reports.present[kind][id]) continue;
        any = true;
        uint64_t b = (reports.bits[kind][id] + 7) / 8;
        if (b > bytes) bytes = b;
    }
    return any ? uint32_t(bytes + 1) : 0;
}

} // namespace

bool parseHidReportDescriptor(const uint8_t* data, size_t size, HidReportCaps* caps) {
    if (!data || size > kHidMaxDescriptorSize) return false;

    Globals globals;
    std::array<Globals, kGlobalStackDepth> stack{};
    size_t stackDepth = 0;
    uint32_t collectionDepth = 0;
    // The usage local item in effect, and whether it named its page.
    uint32_t usage = 0;
    bool usageHasPage = false;
    bool topLevelFound = false;
    HidReportCaps found;
    Reports reports;

    size_t pos = 0;
    while (pos < size) {
        const uint8_t prefix = data[pos++];
        if (prefix == kLongItemPrefix) {
            // No long item is defined; its data is skipped whole.
            if (size - pos < 2) return false;
            const size_t length = data[pos];
            pos += 2;
            if (size - pos < length) return false;
            pos += length;
            continue;
        }
        const size_t length = (prefix & 3) == 3 ? 4 : (prefix & 3);
        const auto type = ItemType((prefix >> 2) & 3);
        const uint8_t tag = prefix >> 4;
        if (size - pos < length) return false;
        uint32_t value = 0;
        for (size_t i = 0; i < length; ++i)
            value |= uint32_t(data[pos + i]) << (8 * i);
        pos += length;

        switch (type) {
        case Main: {
            if (tag == kCollection) {
                if (collectionDepth == 0 && !topLevelFound) {
                    topLevelFound = true;
                    found.usagePage = usageHasPage ? uint16_t(usage >> 16) : globals.usagePage;
                    found.usage = uint16_t(usage);
                }
                ++collectionDepth;
            } else if (tag == kEndCollection) {
                if (collectionDepth == 0) return false;
                --collectionDepth;
            } else if (tag == kInput || tag == kOutput || tag == kFeature) {
                const int kind = tag == kInput ? 0 : tag == kOutput ? 1 : 2;
                const uint64_t bits = uint64_t(globals.reportSize) * globals.reportCount;
                uint64_t& sum = reports.bits[kind][globals.reportId];
                if (bits > kLongestReportBits || sum + bits > kLongestReportBits) return false;
                sum += bits;
                reports.present[kind][globals.reportId] = true;
            }
            usage = 0;
            usageHasPage = false;
            break;
        }
        case Global:
            switch (tag) {
            case kUsagePage:
                globals.usagePage = uint16_t(value);
                break;
            case kReportSize:
                globals.reportSize = value;
                break;
            case kReportCount:
                globals.reportCount = value;
                break;
            case kReportId:
                if (value == 0 || value > 255) return false;
                globals.reportId = uint8_t(value);
                break;
            case kPush:
                if (stackDepth == kGlobalStackDepth) return false;
                stack[stackDepth++] = globals;
                break;
            case kPop:
                if (stackDepth == 0) return false;
                globals = stack[--stackDepth];
                break;
            default:
                break;
            }
            break;
        case Local:
            // The first usage of a main item is the one a collection takes.
            if (tag == kUsage && usage == 0 && !usageHasPage) {
                usage = value;
                usageHasPage = length == 4;
            }
            break;
        case Reserved:
            return false;
        }
    }
    if (!topLevelFound || collectionDepth != 0) return false;
    found.inputReportLength = longest(reports, 0);
    found.outputReportLength = longest(reports, 1);
    found.featureReportLength = longest(reports, 2);
    *caps = found;
    return true;
}
