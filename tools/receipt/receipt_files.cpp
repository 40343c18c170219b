#include "receipt_files.h"

#include <png.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <stdexcept>
#include <vector>

namespace receipt {
namespace {

// libpng's error callback must not return; throwing instead of longjmp keeps
// C++ destructors running.
[[noreturn]] void raise(png_structp, png_const_charp message) {
    throw std::runtime_error(std::string("PNG: ") + message);
}
void quiet(png_structp, png_const_charp) {}

struct File {
    std::FILE* f;
    explicit File(const std::string& path) : f(std::fopen(path.c_str(), "wbe")) {}
    ~File() {
        if (f) std::fclose(f);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    bool close() {
        const bool ok = std::fclose(f) == 0;
        f = nullptr;
        return ok;
    }
};

struct Writer {
    png_structp png = nullptr;
    png_infop info = nullptr;
    Writer() {
        png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, raise, quiet);
        if (png) info = png_create_info_struct(png);
        if (!png || !info) throw std::runtime_error("PNG: out of memory");
    }
    ~Writer() { png_destroy_write_struct(&png, info ? &info : nullptr); }
    Writer(const Writer&) = delete;
    Writer& operator=(const Writer&) = delete;
};

void encode(const Paper& paper, std::FILE* out) {
    Writer w;
    png_init_io(w.png, out);
    png_set_IHDR(w.png, w.info, png_uint_32(paper.width()), png_uint_32(paper.length()), 1,
                 PNG_COLOR_TYPE_GRAY, PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT,
                 PNG_FILTER_TYPE_DEFAULT);
    png_write_info(w.png, w.info);
    std::vector<png_byte> row(size_t(paper.width() + 7) / 8);
    for (int y = 0; y < paper.length(); ++y) {
        // In a 1-bit grey image a set bit is white: paper is 1, ink 0 (and
        // the bits past the width, 0 on the paper, come out white).
        const uint8_t* dots = paper.row(y);
        for (size_t i = 0; i < row.size(); ++i)
            row[i] = png_byte(~dots[i]);
        png_write_row(w.png, row.data());
    }
    png_write_end(w.png, nullptr);
}

} // namespace

bool writePng(const Paper& paper, const std::string& path, std::string* error) {
    const std::string partial = path + ".part";
    try {
        File file(partial);
        if (!file.f) {
            *error = partial + ": " + std::strerror(errno);
            return false;
        }
        encode(paper, file.f);
        if (!file.close()) {
            *error = partial + ": " + std::strerror(errno);
            std::remove(partial.c_str());
            return false;
        }
    } catch (const std::exception& e) {
        *error = path + ": " + e.what();
        std::remove(partial.c_str());
        return false;
    }
    if (std::rename(partial.c_str(), path.c_str()) != 0) {
        *error = path + ": " + std::strerror(errno);
        std::remove(partial.c_str());
        return false;
    }
    return true;
}

bool writeText(std::string_view text, const std::string& path, std::string* error) {
    const std::string partial = path + ".part";
    {
        File file(partial);
        if (!file.f) {
            *error = partial + ": " + std::strerror(errno);
            return false;
        }
        const bool written = std::fwrite(text.data(), 1, text.size(), file.f) == text.size();
        if (!file.close() || !written) {
            *error = partial + ": " + std::strerror(errno);
            std::remove(partial.c_str());
            return false;
        }
    }
    if (std::rename(partial.c_str(), path.c_str()) != 0) {
        *error = path + ": " + std::strerror(errno);
        std::remove(partial.c_str());
        return false;
    }
    return true;
}

} // namespace receipt
