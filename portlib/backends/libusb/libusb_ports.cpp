#include "backends/libusb/libusb.h"
#include "backends/libusb/libusb_threads.h"
#include "port_registry.h"

#include <dova/dova.h>

void dovaRegisterLibusbPorts(DovaPortRegistry& registry) {
    registry.add<WLibusb>(DOVA_IF_LIBUSB, 0);
    registry.add<WLibusbA>(DOVA_IF_LIBUSB, 1);
}
