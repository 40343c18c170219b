// Where the test printer puts the pictures of the jobs it receives: one
// NNNN.png and NNNN.txt (the transcript) per job, numbered on from the
// highest number already in the folder, so earlier runs are kept.
#pragma once

#include "receipt_renderer.h"

#include <cstdint>
#include <string>
#include <vector>

namespace testprinter {

class ReceiptFolder {
public:
    ReceiptFolder(std::string folder, int paperWidth);

    // Creates the folder when missing and finds the next number.
    bool open(std::string* error);
    // Draws one job; the picture's path, or empty with a reason.
    std::string write(const std::vector<uint8_t>& job, bool cutShort, std::string* error);

private:
    std::string folder_;
    receipt::ReceiptOptions options_;
    receipt::ReceiptRenderer renderer_;
    unsigned next_ = 1;
};

// Draws a saved job into `png`, with its transcript beside it (the same
// name ending in .txt). False with a reason when it cannot.
bool renderFile(const std::string& job, const std::string& png, int paperWidth,
                std::string* transcriptPath, std::string* error);

} // namespace testprinter
