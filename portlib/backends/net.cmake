# The TCP and UDP network ports and the OS pieces they use.
list(APPEND DOVA_NET_SOURCES
    backends/net.cpp
    backends/net_threads.cpp
    backends/net_events.cpp
    backends/net_winmsg.cpp
    backends/net_status_channel.cpp
    backends/net_kpnet.cpp
    backends/net_kpnet_threads.cpp
    backends/net_kpnet_events.cpp
    os/posix/socket.cpp
)
