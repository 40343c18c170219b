# USB printer-class ports (USBPRN, KPPRN, KPUSB) through Linux's usblp
# driver, with vendor requests through usbfs; WUsb is also the base of the
# HID ports.
list(APPEND DOVA_BACKEND_SOURCES
    backends/usb/usb.cpp
    backends/usb/usb_printer_class.cpp
    backends/usb/usbprn.cpp
    backends/usb/usbprn_threads.cpp
    backends/usb/kpprn.cpp
    backends/usb/kpprn_threads.cpp
    backends/usb/kpusb.cpp
    backends/usb/kpusb_threads.cpp
    backends/usb/usb_ports.cpp
    os/posix/usb.cpp
)
list(APPEND DOVA_PORT_FAMILIES Usb)
