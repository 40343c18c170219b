#include "paper.h"

#include <algorithm>
#include <cstring>

namespace receipt {

Paper::Paper(int width, int maxLength)
    : width_(std::max(width, 1)), maxLength_(std::max(maxLength, 1)),
      rowBytes_((static_cast<size_t>(width_) + 7) / 8) {}

bool Paper::extend(int rows) {
    const bool fits = rows <= maxLength_;
    rows = std::min(rows, maxLength_);
    if (rows > length_) {
        length_ = rows;
        dots_.resize(rowOffset(length_), 0);
    }
    return fits;
}

bool Paper::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= length_) return false;
    return (row(y)[x / 8] & (0x80 >> (x % 8))) != 0;
}

void Paper::fill(int x, int y, int w, int h) {
    const int x0 = std::max(x, 0), x1 = std::min(x + w, width_);
    const int y0 = std::max(y, 0), y1 = std::min(y + h, length_);
    if (x0 >= x1) return;
    // The bytes the dots x0 .. x1-1 fall in, and which bits of the first and
    // last of them are inked.
    const int first = x0 / 8, last = (x1 - 1) / 8;
    const auto head = static_cast<uint8_t>(0xFF >> (x0 % 8));
    const auto tail = static_cast<uint8_t>(0xFF << (7 - (x1 - 1) % 8));
    for (int r = y0; r < y1; ++r) {
        uint8_t* bytes = dots_.data() + rowOffset(r);
        if (first == last) {
            bytes[first] |= head & tail;
            continue;
        }
        bytes[first] |= head;
        std::memset(bytes + first + 1, 0xFF, static_cast<size_t>(last - first - 1));
        bytes[last] |= tail;
    }
}

} // namespace receipt
