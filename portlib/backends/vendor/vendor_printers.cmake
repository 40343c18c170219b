# The device-library ports that name their printer as the print spooler does
# (WSpoolerBase): only in a build that has the spooler family.
if(Cups_FOUND)
    list(APPEND DOVA_BACKEND_SOURCES
        backends/vendor/hprdh.cpp
        backends/vendor/nrdtdh.cpp
        backends/vendor/nrdtlm.cpp
        backends/vendor/vendor_printer_ports.cpp
    )
    list(APPEND DOVA_PORT_FAMILIES VendorPrinter)
endif()
