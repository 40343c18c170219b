#include "os/os_library.h"

#include "os/os_config.h"
#include "os/os_text.h"

#include <dlfcn.h>

#include <cstring>

namespace os {
namespace {

// The Windows Program Files folders a library path may begin with (after an
// optional drive letter and its colon).
constexpr const char* programFilesNames[] = {"/Program Files (x86)", "/Program Files"};

std::string soName(const std::string& file) {
    constexpr size_t extensionLength = 4; // ".dll"
    if (file.size() > extensionLength &&
        equalNoCase(file.c_str() + file.size() - extensionLength, ".dll"))
        return "lib" + file.substr(0, file.size() - extensionLength) + ".so";
    return file;
}

// The part of the path after a leading Program Files folder, or nullptr.
const char* belowProgramFiles(const std::string& path) {
    const char* p = path.c_str();
    if (((p[0] >= 'A' && p[0] <= 'Z') || (p[0] >= 'a' && p[0] <= 'z')) && p[1] == ':') p += 2;
    for (const char* name : programFilesNames) {
        size_t n = std::strlen(name);
        if (startsWithNoCase(p, name) && (p[n] == '/' || p[n] == 0)) return p + n;
    }
    return nullptr;
}

} // namespace

Library& Library::operator=(Library&& other) noexcept {
    if (this != &other) {
        if (!keep_) close();
        handle_ = other.handle_;
        keep_ = other.keep_;
        other.handle_ = nullptr;
    }
    return *this;
}

Library::~Library() {
    if (!keep_) close();
}

Library Library::load(const char* name, std::string* why) {
    std::string path = libraryPath(name);
    if (path.empty()) { // dlopen would hand back the program itself
        if (why) *why = "no library name";
        return Library();
    }
    void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle && why) {
        const char* reason = ::dlerror();
        *why = reason ? reason : "";
    }
    return Library(handle);
}

void* Library::symbol(const char* name) const {
    if (!handle_ || !name) return nullptr;
    return ::dlsym(handle_, name);
}

void Library::close() {
    if (!handle_) return;
    ::dlclose(handle_);
    handle_ = nullptr;
}

std::string programFilesFolder() {
    std::string folder = configString(nullptr, "ProgramFiles").value_or("");
    if (folder.empty()) folder = "/opt";
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

std::string libraryPath(const char* name) {
    if (!name) return {};
    std::string path = name;
    size_t slash = path.find_last_of("\\/");
    std::string file = slash == std::string::npos ? path : path.substr(slash + 1);
    if (auto configured = configString("libraries", file.c_str());
        configured && !configured->empty())
        return *configured;
    if (slash == std::string::npos) return soName(file);
    std::string folder = path.substr(0, slash);
    for (char& c : folder)
        if (c == '\\') c = '/';
    if (const char* below = belowProgramFiles(folder)) folder = programFilesFolder() + below;
    return folder + "/" + soName(file);
}

} // namespace os
