#include "png_writer.h"

#include <png.h>

#include <stdexcept>

namespace tpgservice {

namespace {

void appendData(png_structp png, png_bytep data, png_size_t length) {
    auto* out = static_cast<std::vector<std::uint8_t>*>(png_get_io_ptr(png));
    out->insert(out->end(), data, data + length);
}

void flushNothing(png_structp) {}

[[noreturn]] void raiseError(png_structp, png_const_charp message) {
    throw std::runtime_error(std::string("PNG: ") + message);
}

void ignoreWarning(png_structp, png_const_charp) {}

struct PngWriteHandle {
    png_structp png = nullptr;
    png_infop info = nullptr;
    PngWriteHandle() {
        png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, raiseError, ignoreWarning);
        if (!png) throw std::runtime_error("PNG: out of memory");
        info = png_create_info_struct(png);
        if (!info) {
            png_destroy_write_struct(&png, nullptr);
            throw std::runtime_error("PNG: out of memory");
        }
    }
    ~PngWriteHandle() { png_destroy_write_struct(&png, &info); }
    PngWriteHandle(const PngWriteHandle&) = delete;
    PngWriteHandle& operator=(const PngWriteHandle&) = delete;
};

} // namespace

// libpng reports errors through its error callback, which must not return.
// We throw from it rather than longjmp past C++ destructors; the only errors
// possible with the fixed parameters used here are allocation failures.
std::vector<std::uint8_t> encodePng(const Bitmap& bitmap, Rgb ink) {
    std::vector<std::uint8_t> out;
    PngWriteHandle h;
    png_set_write_fn(h.png, &out, appendData, flushNothing);
    png_set_IHDR(h.png, h.info, static_cast<png_uint_32>(bitmap.width),
                 static_cast<png_uint_32>(bitmap.height), 1, PNG_COLOR_TYPE_PALETTE,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_color palette[2] = {{255, 255, 255}, {ink.r, ink.g, ink.b}};
    png_set_PLTE(h.png, h.info, palette, 2);
    png_write_info(h.png, h.info);
    std::vector<png_byte> row(static_cast<std::size_t>((bitmap.width + 7) / 8));
    for (int y = 0; y < bitmap.height; ++y) {
        std::fill(row.begin(), row.end(), 0);
        for (int x = 0; x < bitmap.width; ++x) {
            if (bitmap.at(x, y))
                row[static_cast<std::size_t>(x / 8)] |= static_cast<png_byte>(0x80 >> (x % 8));
        }
        png_write_row(h.png, row.data());
    }
    png_write_end(h.png, nullptr);
    return out;
}

} // namespace tpgservice
