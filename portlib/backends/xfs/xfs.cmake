# The XFS printer service check: the XFS manager library is loaded at run
# time (dlopen), so the build needs nothing and the family is always there.
list(APPEND DOVA_BACKEND_SOURCES
    backends/xfs/xfs.cpp
    backends/xfs/xfs_answers.cpp
    backends/xfs/xfs_ports.cpp
)
list(APPEND DOVA_PORT_FAMILIES Xfs)
