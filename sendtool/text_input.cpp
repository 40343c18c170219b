#include "text_input.h"

namespace sendtool {

size_t TextInput::read(char* out, size_t max) {
    size_t kept = 0;
    do {
        size_t start = 0;
        if (pendingCr_) {
            out[0] = '\r';
            start = 1;
            pendingCr_ = false;
        }
        size_t got = std::fread(out + start, 1, max - start, file_);
        if (got < max - start && std::ferror(file_)) failed_ = true;
        size_t total = start + got;
        kept = 0;
        for (size_t i = 0; i < total; ++i) {
            char c = out[i];
            if (c == '\r') {
                if (i + 1 < total) {
                    if (out[i + 1] == '\n') continue;
                } else if (got != 0) {
                    // The pair may continue in the next block.
                    pendingCr_ = true;
                    continue;
                }
            }
            out[kept++] = c;
        }
    } while (kept == 0 && pendingCr_);
    return kept;
}

} // namespace sendtool
