// The loading rule every device library of a printer maker follows: one
// module per library and process, loaded on the first call of any of its
// functions and kept for the life of the process; every call looks its
// function up by name and passes the arguments through unchanged. When the
// library or the function is missing, the call answers the fixed value its
// caller names and calls nothing.
//
// The library name is the one a Windows port loads ("StarIOPort.dll");
// os::libraryPath turns it into the file loaded here. Safe from any thread.
#pragma once

#include "os/os_library.h"

#include <mutex>
#include <utility>

class VendorLibrary {
public:
    // name must outlive the object (a string literal).
    explicit VendorLibrary(const char* name) : name_(name) {}
    VendorLibrary(const VendorLibrary&) = delete;
    VendorLibrary& operator=(const VendorLibrary&) = delete;

    // Loads the library on the first use. A load that failed is not tried
    // again: the process keeps the answer it got first.
    bool isLoaded();
    // The exported function of that name, nullptr when the library or the
    // function is missing.
    void* symbol(const char* function);

    // Calls the function `name` of type Function (a C function type, e.g.
    // decltype(OpenPortA)), or answers `missing` without calling anything.
    template <class Function, class... Args>
    auto call(const char* name,
              decltype(std::declval<Function*>()(std::declval<Args>()...)) missing, Args... args) {
        auto* f = reinterpret_cast<Function*>(symbol(name));
        return f ? f(args...) : missing;
    }

private:
    const char* name_;
    std::once_flag once_;
    os::Library library_;
};

// Calls the library function declared in the library's C header under the
// same name, so the name looked up is spelled exactly as it is exported.
#define DOVA_VENDOR_CALL(library, function, missing, ...)                                          \
    (library).call<decltype(function)>(#function, (missing)__VA_OPT__(, ) __VA_ARGS__)
