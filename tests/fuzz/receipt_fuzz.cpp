// Any job must render without touching memory outside it, give paper of the
// width asked for and no longer than the limit, and a transcript of valid
// UTF-8. libFuzzer's -timeout catches a job that takes too long.
#include "receipt_renderer.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

bool validUtf8(const std::string& s) {
    size_t i = 0;
    while (i < s.size()) {
        const auto c = static_cast<unsigned char>(s[i]);
        const size_t n = c < 0x80           ? 1
                         : (c >> 5) == 0x6  ? 2
                         : (c >> 4) == 0xE  ? 3
                         : (c >> 3) == 0x1E ? 4
                                            : 0;
        if (n == 0 || i + n > s.size()) return false;
        for (size_t k = 1; k < n; ++k)
            if ((static_cast<unsigned char>(s[i + k]) & 0xC0) != 0x80) return false;
        i += n;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static receipt::ReceiptRenderer renderer;
    receipt::ReceiptOptions options;
    // Shorter paper than a real job's limit: reaching the limit is a path
    // worth exercising, and clearing metres of paper per input is not.
    options.maxLength = 4000;
    // The first byte picks the paper, so both widths are exercised.
    if (size > 0 && (data[0] & 1)) options.paperWidth = receipt::kPaper58mm;
    const receipt::Receipt r = renderer.render(data, size, options);
    if (r.paper.width() != options.paperWidth) __builtin_trap();
    if (r.paper.length() > options.maxLength || r.paper.length() <= 0) __builtin_trap();
    if (!validUtf8(r.transcript)) __builtin_trap();
    return 0;
}
