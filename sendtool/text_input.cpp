#include "text_input.h"

namespace sendtool {

size_t TextInput::read(char* out, size_t max) {
    if (max == 0) return 0;
    ++reads_;
    size_t got = std::fread(out, 1, max, file_);
    if (got < max && std::ferror(file_)) failed_ = true;
    size_t kept = 0;
    for (size_t i = 0; i < got; ++i) {
        char c = out[i];
        if (c == '\r') {
            if (i + 1 < got) {
                if (out[i + 1] == '\n') continue;
            } else {
                // The pair may continue beyond this block, however small the
                // block is: look at the next byte and put it back unless it
                // completes the pair.
                int next = std::fgetc(file_);
                if (next == '\n') {
                    c = '\n';
                } else if (next != EOF) {
                    std::ungetc(next, file_);
                } else if (std::ferror(file_)) {
                    failed_ = true;
                }
            }
        }
        out[kept++] = c;
    }
    return kept;
}

} // namespace sendtool
