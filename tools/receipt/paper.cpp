#include "paper.h"

#include <algorithm>

namespace receipt {

Paper::Paper(int width, int maxLength)
    : width_(std::max(width, 1)), maxLength_(std::max(maxLength, 1)) {}

bool Paper::extend(int rows) {
    const bool fits = rows <= maxLength_;
    rows = std::min(rows, maxLength_);
    if (rows > length_) {
        length_ = rows;
        dots_.resize(static_cast<size_t>(width_) * static_cast<size_t>(length_), 0);
    }
    return fits;
}

bool Paper::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= length_) return false;
    return dots_[static_cast<size_t>(y) * static_cast<size_t>(width_) + static_cast<size_t>(x)] !=
           0;
}

void Paper::fill(int x, int y, int w, int h) {
    const int x0 = std::max(x, 0), x1 = std::min(x + w, width_);
    const int y0 = std::max(y, 0), y1 = std::min(y + h, length_);
    if (x0 >= x1) return;
    for (int row = y0; row < y1; ++row)
        std::fill(dots_.begin() + static_cast<std::ptrdiff_t>(row) * width_ + x0,
                  dots_.begin() + static_cast<std::ptrdiff_t>(row) * width_ + x1, 1);
}

} // namespace receipt
