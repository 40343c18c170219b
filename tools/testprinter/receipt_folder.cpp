#include "receipt_folder.h"

#include "receipt_files.h"

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

namespace testprinter {
namespace fs = std::filesystem;

ReceiptFolder::ReceiptFolder(std::string folder, int paperWidth) : folder_(std::move(folder)) {
    options_.paperWidth = paperWidth;
}

bool ReceiptFolder::open(std::string* error) {
    std::error_code e;
    fs::create_directories(folder_, e);
    if (e || !fs::is_directory(folder_, e)) {
        *error = folder_ + ": " + (e ? e.message() : "not a folder");
        return false;
    }
    for (const auto& entry : fs::directory_iterator(folder_, e)) {
        const fs::path name = entry.path().filename();
        const std::string stem = name.stem().string();
        if (name.extension() != ".png" || stem.size() < 4 || stem.size() > 9 ||
            stem.find_first_not_of("0123456789") != std::string::npos)
            continue;
        next_ = std::max(next_, unsigned(std::stoul(stem)) + 1);
    }
    if (e) {
        *error = folder_ + ": " + e.message();
        return false;
    }
    return true;
}

std::string ReceiptFolder::write(const std::vector<uint8_t>& job, bool cutShort,
                                 std::string* error) {
    char name[32];
    std::snprintf(name, sizeof name, "%04u", next_++);
    const std::string base = (fs::path(folder_) / name).string();
    receipt::Receipt r = renderer_.render(job.data(), job.size(), options_);
    if (cutShort)
        r.transcript += "[only the first " + std::to_string(job.size()) +
                        " bytes of the job were kept and drawn]\n";
    // The transcript first: whoever sees the picture finds both.
    if (!receipt::writeText(r.transcript, base + ".txt", error) ||
        !receipt::writePng(r.paper, base + ".png", error))
        return {};
    return base + ".png";
}

bool renderFile(const std::string& job, const std::string& png, int paperWidth,
                std::string* transcriptPath, std::string* error) {
    std::ifstream in(job, std::ios::binary);
    if (!in) {
        *error = job + ": cannot be read";
        return false;
    }
    std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)),
                               std::istreambuf_iterator<char>());
    if (in.bad()) {
        *error = job + ": cannot be read";
        return false;
    }
    receipt::ReceiptOptions options;
    options.paperWidth = paperWidth;
    receipt::ReceiptRenderer renderer;
    const receipt::Receipt r = renderer.render(bytes.data(), bytes.size(), options);
    fs::path text(png);
    text.replace_extension(".txt");
    if (text == fs::path(png)) text += ".txt";
    *transcriptPath = text.string();
    return receipt::writePng(r.paper, png, error) &&
           receipt::writeText(r.transcript, *transcriptPath, error);
}

} // namespace testprinter
