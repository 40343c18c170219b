// The paper roll of one job: a fixed width in dots, growing downwards as the
// printer feeds, up to a length limit so that no job can make it endless.
#pragma once

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
    // Inks a rectangle; dots off the paper are dropped, so callers may draw
    // past its edges.
    void fill(int x, int y, int w, int h);

private:
    int width_;
    int maxLength_;
    int length_ = 0;
    std::vector<uint8_t> dots_; // one byte a dot, row after row
};

} // namespace receipt
