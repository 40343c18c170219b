#include "backends/usb/usbprn.h"
#include "backends/usb/usbprn_threads.h"
#include "port_registry.h"

#include <dova/dova.h>

void dovaRegisterUsbPorts(DovaPortRegistry& registry) {
    registry.add<WUsbprn>(DOVA_IF_USBPRN, 0);
    registry.add<WUsbprnA>(DOVA_IF_USBPRN, 1);
}
