#include "transcript.h"

#include <cstdio>

namespace receipt {
namespace {

void appendUtf8(std::string& s, char32_t c) {
    if (c < 0x80) {
        s += char(c);
    } else if (c < 0x800) {
        s += char(0xC0 | (c >> 6));
        s += char(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        s += char(0xE0 | (c >> 12));
        s += char(0x80 | ((c >> 6) & 0x3F));
        s += char(0x80 | (c & 0x3F));
    } else {
        s += char(0xF0 | (c >> 18));
        s += char(0x80 | ((c >> 12) & 0x3F));
        s += char(0x80 | ((c >> 6) & 0x3F));
        s += char(0x80 | (c & 0x3F));
    }
}

} // namespace

void Transcript::append(std::string_view s) {
    if (full_) return;
    if (out_.size() + s.size() > maxBytes_) {
        out_ += "[transcript too long: the rest is left out]\n";
        full_ = true;
        return;
    }
    out_ += s;
}

void Transcript::flushRepeat() {
    if (repeats_ > 1) append("[... " + std::to_string(repeats_) + " times in a row]\n");
    repeats_ = 0;
    lastNote_.clear();
}

void Transcript::addCharacter(char32_t c) {
    // A line longer than the limit could never be written anyway.
    if (line_.size() < maxBytes_) appendUtf8(line_, c);
}

void Transcript::endLine() {
    flushRepeat();
    size_t end = line_.find_last_not_of(' ');
    line_.resize(end == std::string::npos ? 0 : end + 1);
    line_ += '\n';
    append(line_);
    line_.clear();
}

void Transcript::note(std::string_view text) {
    if (repeats_ > 0 && text == lastNote_) {
        ++repeats_;
        return;
    }
    flushRepeat();
    std::string line = "[";
    line += text;
    line += "]\n";
    append(line);
    lastNote_ = text;
    repeats_ = 1;
}

std::string Transcript::text() {
    flushRepeat();
    if (!line_.empty()) endLine();
    return out_;
}

std::string escapeBytes(const unsigned char* data, size_t size, size_t limit) {
    std::string s;
    for (size_t i = 0; i < size && i < limit; ++i) {
        if (data[i] >= 0x20 && data[i] < 0x7F && data[i] != '\\') {
            s += char(data[i]);
        } else {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", data[i]);
            s += hex;
        }
    }
    if (size > limit) s += "...";
    return s;
}

} // namespace receipt
