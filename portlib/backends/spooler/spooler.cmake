# The print spooler (CUPS on POSIX). A build without libcups's headers leaves
# the family out, and SPOOLER targets fail to open.
find_package(Cups QUIET)
if(Cups_FOUND)
    list(APPEND DOVA_BACKEND_SOURCES
        backends/spooler/spooler_base.cpp
        backends/spooler/spooler.cpp
        backends/spooler/spooler_ports.cpp
        os/posix/spooler_cups.cpp
    )
    # libcups itself is loaded at run time (libcups.so.2), when a queue is
    # first asked for: only its headers are needed here.
    include_directories(${CUPS_INCLUDE_DIRS})
    list(APPEND DOVA_PORT_FAMILIES Spooler)
endif()
