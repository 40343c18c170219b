// A machine without libusb 0.1, or with a library that lacks functions the
// ports call: claim fails with 1014 and names what is missing, and nothing
// is called through a gap (the process would crash).
#include "backends/libusb/libusb.h"
#include "backends/libusb/libusb_threads.h"
#include "vendor_test_support.h"

#include <dova/dova.h>
#include <gtest/gtest.h>

namespace {

TEST(LibusbUnavailable, ClaimFailsAndNothingElseBreaks) {
    TraceCapture trace;
    for (int mode = 0; mode <= 1; ++mode) {
        std::unique_ptr<WLibusb> port =
            mode ? std::make_unique<WLibusbA>() : std::make_unique<WLibusb>();
        EXPECT_EQ(port->claim(0), DOVA_E_OPEN);
        EXPECT_EQ(port->isOpen(), 0);
        uint32_t n = 9;
        EXPECT_EQ(port->send("x", 1, &n, 0, 0, 0), DOVA_E_WRITE);
        EXPECT_EQ(n, 0u);
        char buffer[4];
        EXPECT_EQ(port->recv(buffer, sizeof buffer, &n, 0), DOVA_E_READ);
        EXPECT_EQ(port->release(100), DOVA_OK);
    }
    const std::string text = trace.text();
    EXPECT_TRUE(text.find("DOVA: libusb-0.1.so.4 not loaded: ") != std::string::npos ||
                text.find("DOVA: libusb-0.1.so.4 has no usb_set_configuration\n") !=
                    std::string::npos)
        << text;
}

} // namespace
