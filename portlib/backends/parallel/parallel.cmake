# Parallel ports (LPT, PRN, and KPLPT of the KP parallel driver): parport lp
# and USB printer-class nodes. They build on WVcomm of the serial family.
list(APPEND DOVA_BACKEND_SOURCES
    backends/parallel/lpt.cpp
    backends/parallel/lpt_threads.cpp
    backends/parallel/kplpt.cpp
    backends/parallel/kplpt_threads.cpp
    backends/parallel/parallel_ports.cpp
    os/posix/parallel_port.cpp
)
list(APPEND DOVA_PORT_FAMILIES Parallel)
