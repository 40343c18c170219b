# USB printers through libusb 0.1, loaded at run time by its soname
# (libusb-0.1.so.4): the build needs nothing of it, so the family is always
# there, and a machine without the library fails at claim.
list(APPEND DOVA_BACKEND_SOURCES
    backends/libusb/libusb.cpp
    backends/libusb/libusb_threads.cpp
    backends/libusb/libusb_ports.cpp
)
list(APPEND DOVA_PORT_FAMILIES Libusb)
