// The records the libusb ports read from the library's own memory, laid out
// as the library's published header lays them out.
#include "usb_layout.h"

#include <gtest/gtest.h>

TEST(LibusbRecords, MatchTheLibrarysOwnHeader) {
    std::vector<size_t> ours = ourUsbLayout();
    std::vector<size_t> system = systemUsbLayout();
    ASSERT_EQ(ours.size(), system.size());
    for (size_t i = 0; i < ours.size(); ++i)
        EXPECT_EQ(ours[i], system[i]) << "entry " << i << " of the layout list";
}
