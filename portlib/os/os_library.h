// Libraries loaded at run time by the name a Windows port would load ("Name.dll",
// a path under the Program Files folder, or a soname): a move-only owner of the
// loaded library with an empty state and a noexcept destructor, and the rule
// that turns such a name into the file loaded here.
#pragma once

#include <string>

namespace os {

class Library {
public:
    Library() = default;
    Library(Library&& other) noexcept : handle_(other.handle_), keep_(other.keep_) {
        other.handle_ = nullptr;
    }
    Library& operator=(Library&& other) noexcept;
    Library(const Library&) = delete;
    Library& operator=(const Library&) = delete;
    ~Library();

    // Loads the library libraryPath(name) names. Empty when it cannot be
    // loaded; why tells the loader's reason then (for a trace line).
    static Library load(const char* name, std::string* why = nullptr);

    bool isLoaded() const { return handle_ != nullptr; }
    // The exported function of that name, or nullptr when the library has none.
    void* symbol(const char* name) const;
    template <class Function> Function function(const char* name) const {
        return reinterpret_cast<Function>(symbol(name));
    }

    void close();

    // Leaves the module loaded when this object goes, for a library that is
    // kept for the life of the process: its own exit handlers and thread
    // data may still run after our statics are destroyed, and unloading it
    // under them would crash the process on its way out.
    void keepLoaded() { keep_ = true; }

private:
    explicit Library(void* handle) : handle_(handle) {}
    void* handle_ = nullptr;
    bool keep_ = false;
};

// The file loaded for a library name, in this order:
// - a path that [libraries] of the configuration gives for the name's file
//   part, its key compared without case ("StarIOPort.dll=/opt/star/libStarIOPort.so");
// - a name with folders: "\" becomes "/", a leading Windows Program Files
//   folder ("C:\Program Files", "C:\Program Files (x86)") becomes
//   programFilesFolder(), the folders below it are kept, and the file part
//   follows the next rule;
// - "Name.dll" (any case of ".dll") becomes "libName.so", the case of Name
//   kept, so that the dynamic loader's search finds it; any other name (a
//   soname such as "libusb-0.1.so.4") stays as it is.
std::string libraryPath(const char* name);

// The Program Files folder: the configuration's "ProgramFiles", else "/opt".
std::string programFilesFolder();

} // namespace os
