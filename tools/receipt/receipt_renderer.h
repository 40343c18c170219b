// Draws what a receipt printer would print for a job: the bytes of one job
// (ESC/POS) in, the paper and a transcript out.
//
// Text, print modes, the character tables of code pages 437, 850, 1252, 866,
// 852 and 858, feeds, cuts, QR symbols and raster images are drawn; every
// other command is skipped by its length and named in the transcript. The
// renderer never reads past the job, and a job's paper has a length limit,
// so the work per job is bounded whatever the bytes are.
#pragma once

#include "cell_font.h"
#include "paper.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace receipt {

inline constexpr int kPaper80mm = 576; // dots across 80 mm paper
inline constexpr int kPaper58mm = 384;

struct ReceiptOptions {
    int paperWidth = kPaper80mm;
    // About 2.5 m of paper; the rest of a longer job is not drawn.
    int maxLength = 20000;
};

struct Receipt {
    Paper paper;
    std::string transcript; // UTF-8
};

class ReceiptRenderer {
public:
    explicit ReceiptRenderer(const std::string& fontFile = defaultFontFile());

    bool fontLoaded() const { return fontA_.loaded() && fontB_.loaded(); }
    // Not thread-safe: the fonts' caches are shared by the jobs.
    Receipt render(const uint8_t* job, size_t size, const ReceiptOptions& options = {});

private:
    CellFont fontA_;
    CellFont fontB_;
};

} // namespace receipt
