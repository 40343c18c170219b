#include "usb_layout.h"
#include "usb_layout_list.h"

#include <usb.h>

std::vector<size_t> systemUsbLayout() {
    return {LAYOUT_LIST};
}
