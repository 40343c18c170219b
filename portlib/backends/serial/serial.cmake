# Serial (COM) ports, and WVcomm, the base they share with the parallel ports.
list(APPEND DOVA_BACKEND_SOURCES
    backends/serial/vcomm.cpp
    backends/serial/com_dcb.cpp
    backends/serial/com.cpp
    backends/serial/com_threads.cpp
    backends/serial/com_events.cpp
    backends/serial/aea.cpp
    backends/serial/ibmfp_frame.cpp
    backends/serial/ibmfp.cpp
    backends/serial/serial_ports.cpp
    os/posix/serial_line.cpp
    os/posix/serial_settings.cpp
)
list(APPEND DOVA_PORT_FAMILIES Serial)
