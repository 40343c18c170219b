#include "backends/libusb/libusb0_library.h"
#include "usb_layout.h"
#include "usb_layout_list.h"

std::vector<size_t> ourUsbLayout() {
    return {LAYOUT_LIST};
}
