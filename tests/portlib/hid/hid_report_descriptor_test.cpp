#include "backends/hid/hid_report_descriptor.h"
#include "descriptor_files.h"

#include <gtest/gtest.h>

#include <initializer_list>

namespace {

struct Expected {
    const char* file;
    uint16_t usagePage;
    uint16_t usage;
    uint32_t input, output, feature;
};

class RealDescriptors : public testing::TestWithParam<Expected> {};

TEST_P(RealDescriptors, UsageAndReportLengthsAsWindowsCountsThem) {
    const Expected& e = GetParam();
    std::vector<uint8_t> bytes = loadDescriptor(e.file);
    HidReportCaps caps;
    ASSERT_TRUE(parseHidReportDescriptor(bytes.data(), bytes.size(), &caps));
    EXPECT_EQ(caps.usagePage, e.usagePage);
    EXPECT_EQ(caps.usage, e.usage);
    EXPECT_EQ(caps.inputReportLength, e.input);
    EXPECT_EQ(caps.outputReportLength, e.output);
    EXPECT_EQ(caps.featureReportLength, e.feature);
}

// Without report ids the id byte is counted all the same; a kind with no
// report is 0; with several collections the first one names the usage.
INSTANTIATE_TEST_SUITE_P(Devices, RealDescriptors,
                         testing::Values(Expected{"boot_keyboard", 0x01, 0x06, 9, 2, 0},
                                         Expected{"boot_mouse", 0x01, 0x02, 4, 0, 0},
                                         Expected{"media_keyboard", 0x01, 0x06, 9, 2, 0},
                                         Expected{"pos_display", 0xFF00, 0x3500, 64, 1023, 8},
                                         Expected{"vendor_ffff", 0xFF5E, 0xFFFF, 65, 65, 0}));

bool parses(std::initializer_list<uint8_t> bytes, HidReportCaps* caps = nullptr) {
    HidReportCaps scratch;
    std::vector<uint8_t> v(bytes);
    return parseHidReportDescriptor(v.data(), v.size(), caps ? caps : &scratch);
}

TEST(HidReportDescriptor, PushAndPopRestoreReportSizeAndCount) {
    HidReportCaps caps;
    // size 8 count 2, push, size 1 count 3 input (3 bits), pop, input (16 bits)
    ASSERT_TRUE(parses({0x09, 0x01, 0xA1, 0x01, 0x75, 0x08, 0x95, 0x02, 0xA4, 0x75, 0x01, 0x95,
                        0x03, 0x81, 0x02, 0xB4, 0x81, 0x02, 0xC0},
                       &caps));
    EXPECT_EQ(caps.inputReportLength, 1u + (3 + 16 + 7) / 8);
}

TEST(HidReportDescriptor, LongItemsAreSkippedWhole) {
    HidReportCaps caps;
    // A long item whose data holds what would read as a collection opening.
    ASSERT_TRUE(parses({0xFE, 0x02, 0xF0, 0xA1, 0x01, 0x09, 0x07, 0xA1, 0x01, 0xC0}, &caps));
    EXPECT_EQ(caps.usage, 0x07);
}

TEST(HidReportDescriptor, RefusesWhatNoDeviceMayDescribe) {
    const std::vector<std::vector<uint8_t>> bad = {
        {},                                   // nothing
        {0x09, 0x01, 0x75, 0x08, 0x81, 0x02}, // no collection
        {0x09, 0x01, 0xA1, 0x01},             // collection never closed
        {0xC0},                               // closing what was never opened
        {0x09, 0x01, 0xA1, 0x01, 0x96, 0xFF}, // item cut short
        {0xFE, 0x05, 0x00, 0x01},             // long item cut short
        {0xA1, 0x01, 0xB4, 0xC0},             // pop of an empty stack
        {0xA1, 0x01, 0x85, 0x00, 0xC0},       // report id 0
        {0xA1, 0x01, 0x85, 0x01, 0x0C, 0xC0}, // reserved item type
        // 65534 bytes and one bit: with the id byte more than 16 bits carry
        {0xA1, 0x01, 0x75, 0x01, 0x97, 0xF1, 0xFF, 0x07, 0x00, 0x81, 0x02, 0xC0},
        // two halves that together are too long
        {0xA1, 0x01, 0x75, 0x08, 0x96, 0x00, 0x80, 0x81, 0x02, 0x81, 0x02, 0xC0},
        // size times count beyond 64 bits' worth of care
        {0xA1, 0x01, 0x77, 0xFF, 0xFF, 0xFF, 0xFF, 0x97, 0xFF, 0xFF, 0xFF, 0xFF, 0x81, 0x02, 0xC0},
    };
    for (size_t i = 0; i < bad.size(); ++i) {
        HidReportCaps caps;
        caps.usage = 0x1234;
        EXPECT_FALSE(parseHidReportDescriptor(bad[i].data(), bad[i].size(), &caps)) << "case " << i;
        EXPECT_EQ(caps.usage, 0x1234) << "case " << i;
    }
    // Seventeen pushes overflow the stack; sixteen do not.
    std::vector<uint8_t> pushes{0xA1, 0x01};
    pushes.insert(pushes.end(), 16, 0xA4);
    pushes.push_back(0xC0);
    HidReportCaps caps;
    EXPECT_TRUE(parseHidReportDescriptor(pushes.data(), pushes.size(), &caps));
    pushes.insert(pushes.begin() + 2, 0xA4);
    EXPECT_FALSE(parseHidReportDescriptor(pushes.data(), pushes.size(), &caps));
    // Longer than any device may have.
    std::vector<uint8_t> huge(kHidMaxDescriptorSize + 1, 0x00);
    huge[0] = 0xA1;
    huge[1] = 0x01;
    huge.back() = 0xC0;
    EXPECT_FALSE(parseHidReportDescriptor(huge.data(), huge.size(), &caps));
}

TEST(HidReportDescriptor, ExactlyTheLongestLengthPasses) {
    HidReportCaps caps;
    // 65534 bytes and the id byte: the longest a 16-bit length carries.
    ASSERT_TRUE(
        parses({0xA1, 0x01, 0x75, 0x08, 0x97, 0xFE, 0xFF, 0x00, 0x00, 0x91, 0x02, 0xC0}, &caps));
    EXPECT_EQ(caps.outputReportLength, 65535u);
}

} // namespace
