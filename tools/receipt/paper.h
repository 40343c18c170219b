// The paper roll of one job: a fixed width in dots, growing downwards as the
// printer feeds, up to a length limit so that no job can make it endless.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace receipt {

class Paper {
public:
    Paper(int width, int maxLength);

    int width() const { return width_; }
    int length() const { return length_; }
    int maxLength() const { return maxLength_; }

    // Makes the paper at least `rows` long; false (and as long as allowed)
    // when that is past the limit.
    bool extend(int rows);
    bool at(int x, int y) const;
    // Row y (0 <= y < length) as stored: eight dots a byte, the leftmost in
    // the high bit, as a 1-bit image has them; the bits past the width are 0.
    const uint8_t* row(int y) const { return dots_.data() + rowOffset(y); }
    // Inks a rectangle; dots off the paper are dropped, so callers may draw
    // past its edges.
    void fill(int x, int y, int w, int h);

private:
    std::size_t rowOffset(int y) const { return static_cast<std::size_t>(y) * rowBytes_; }

    int width_;
    int maxLength_;
    int length_ = 0;
    std::size_t rowBytes_;
    std::vector<uint8_t> dots_; // one bit a dot, row after row
};

} // namespace receipt
