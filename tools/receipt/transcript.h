// What a job printed, as UTF-8 text: each printed line of characters as it
// reads on the paper, and everything else the printer did or skipped as a
// note in square brackets ("[partial cut]", "[unknown command ESC 0x07]").
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace receipt {

class Transcript {
public:
    explicit Transcript(size_t maxBytes = size_t(1) << 20) : maxBytes_(maxBytes) {}

    void addCharacter(char32_t c);
    // Ends the current line of characters (blanks at its end dropped).
    void endLine();
    bool lineEmpty() const { return line_.empty(); }
    // A note on a line of its own; the same note in a row is counted, not
    // repeated, so a job of garbage does not make a transcript of garbage.
    void note(std::string_view text);

    // The transcript so far, with a pending line or repeat count written out.
    std::string text();

private:
    void flushRepeat();
    void append(std::string_view s);

    size_t maxBytes_;
    bool full_ = false;
    std::string out_;
    std::string line_;
    std::string lastNote_;
    size_t repeats_ = 0;
};

// Printable ASCII as it is, every other byte as \xNN.
std::string escapeBytes(const unsigned char* data, size_t size, size_t limit);

} // namespace receipt
