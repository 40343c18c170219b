# Printers reached through the printer maker's printing services (the
# print-service library and the port handler), loaded at run time (dlopen):
# the build needs neither, so the family is always there.
list(APPEND DOVA_BACKEND_SOURCES
    backends/printsvc/print_service_port.cpp
    backends/printsvc/wide_name.cpp
    backends/printsvc/ndx.cpp
    backends/printsvc/wts.cpp
    backends/printsvc/gw.cpp
    backends/printsvc/printsvc_ports.cpp
    os/posix/installer.cpp
    os/posix/remote_session.cpp
)
list(APPEND DOVA_PORT_FAMILIES PrintService)
