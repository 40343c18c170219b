#pragma once
// Two-colour images and their PNG encoding.

#include <cstdint>
#include <vector>

namespace tpgservice {

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};

// One byte per pixel: 0 is paper, anything else ink.
struct Bitmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint8_t> pixels;

    Bitmap(int w, int h) : width(w), height(h), pixels(static_cast<std::size_t>(w) * h, 0) {}
    void set(int x, int y) {
        if (x >= 0 && y >= 0 && x < width && y < height)
            pixels[static_cast<std::size_t>(y) * width + x] = 1;
    }
    bool at(int x, int y) const { return pixels[static_cast<std::size_t>(y) * width + x] != 0; }
};

// A 1-bit palette PNG, white paper and the given ink; throws on failure.
std::vector<std::uint8_t> encodePng(const Bitmap& bitmap, Rgb ink);

} // namespace tpgservice
