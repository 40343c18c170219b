# Printers reached through their makers' device libraries, loaded at run time
# (dlopen): the build needs none of them, so the family is always there.
list(APPEND DOVA_BACKEND_SOURCES
    backends/vendor/vendor_library.cpp
)
