#include "backends/usb/kpprn.h"
#include "backends/usb/kpprn_threads.h"
#include "backends/usb/kpusb.h"
#include "backends/usb/kpusb_threads.h"
#include "backends/usb/usbprn.h"
#include "backends/usb/usbprn_threads.h"
#include "port_registry.h"

#include <dova/dova.h>

void dovaRegisterUsbPorts(DovaPortRegistry& registry) {
    registry.add<WUsbprn>(DOVA_IF_USBPRN, 0);
    registry.add<WUsbprnA>(DOVA_IF_USBPRN, 1);
    registry.add<WKpprn>(DOVA_IF_KPPRN, 0);
    registry.add<WKpprnA>(DOVA_IF_KPPRN, 1);
    registry.add<WKpusb>(DOVA_IF_KPUSB, 0);
    registry.add<WKpusbA>(DOVA_IF_KPUSB, 1);
}
