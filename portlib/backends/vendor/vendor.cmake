# Printers reached through their makers' device libraries, loaded at run time
# (dlopen): the build needs none of them, so the family is always there.
list(APPEND DOVA_BACKEND_SOURCES
    backends/vendor/vendor_library.cpp
    backends/vendor/stario.cpp
    backends/vendor/kzapi.cpp
    backends/vendor/ibmdll.cpp
    backends/vendor/ibmdll_threads.cpp
    backends/vendor/ibm_device_status.cpp
    backends/vendor/tansy.cpp
    backends/vendor/tansy_threads.cpp
    backends/vendor/iom.cpp
    backends/vendor/iom_threads.cpp
    backends/vendor/vendor_ports.cpp
)
list(APPEND DOVA_PORT_FAMILIES Vendor)
