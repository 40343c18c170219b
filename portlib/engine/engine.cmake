# The worker-thread engine and the OS pieces it waits with.
list(APPEND DOVA_ENGINE_SOURCES
    engine/ring_buf.cpp
    engine/list_queue.cpp
    engine/wasync.cpp
    engine/descriptor_transfer.cpp
    os/posix/event.cpp
    os/posix/wait.cpp
    os/posix/io.cpp
)
