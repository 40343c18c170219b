# Files, the console and the hex dump: ports without a device of their own.
list(APPEND DOVA_BACKEND_SOURCES
    backends/local/console.cpp
    backends/local/file.cpp
    backends/local/local_ports.cpp
)
list(APPEND DOVA_PORT_FAMILIES Local)
