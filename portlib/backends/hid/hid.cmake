# HID receipt devices through hidraw: the kernel's interface, always there.
list(APPEND DOVA_BACKEND_SOURCES
    backends/hid/hid_report_descriptor.cpp
    backends/hid/hid.cpp
    backends/hid/hid_ibm_m4.cpp
    backends/hid/hid_ibm_ti4.cpp
    backends/hid/hid_ald.cpp
    backends/hid/hid_ports.cpp
)
list(APPEND DOVA_PORT_FAMILIES Hid)
