# The TCP and UDP network ports and the OS pieces they use.
list(APPEND DOVA_BACKEND_SOURCES
    backends/net/net.cpp
    backends/net/net_threads.cpp
    backends/net/net_events.cpp
    backends/net/net_winmsg.cpp
    backends/net/net_status_channel.cpp
    backends/net/net_kpnet.cpp
    backends/net/net_kpnet_threads.cpp
    backends/net/net_kpnet_events.cpp
    backends/net/net_ports.cpp
    os/posix/socket.cpp
)
list(APPEND DOVA_PORT_FAMILIES Net)
