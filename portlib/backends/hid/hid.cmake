# HID receipt devices through hidraw: the kernel's interface, always there.
list(APPEND DOVA_BACKEND_SOURCES
    backends/hid/hid_report_descriptor.cpp
)
