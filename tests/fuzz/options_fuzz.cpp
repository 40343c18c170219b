// prnfeed's command line: the input split at NUL bytes into arguments, each
// in an allocation of its own size, so that reading past an argument (or
// past the argument vector) is caught.
//
// A line that parses must name the last two arguments as script and target,
// a line that does not must end with the usage text or a message, and the
// wait is never negative. A second parse of the same line must agree.
#include "options.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

struct Parsed {
    sendtool::Settings settings;
    sendtool::ParseResult result;
    size_t messageBytes = 0;
};

Parsed parse(std::vector<char*>& argv) {
    Parsed p;
    char* text = nullptr;
    size_t length = 0;
    std::FILE* err = open_memstream(&text, &length);
    check(err != nullptr);
    p.result = sendtool::parseCommandLine(int(argv.size() - 1), argv.data(), p.settings, err);
    std::fclose(err);
    p.messageBytes = length;
    std::free(text);
    return p;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    // argv[0] is the program's name; at most a few dozen arguments matter.
    std::vector<std::unique_ptr<char[]>> storage;
    storage.push_back(std::make_unique<char[]>(8));
    std::strcpy(storage.back().get(), "prnfeed");
    size_t start = 0;
    for (size_t i = 0; i <= size && storage.size() < 64; ++i) {
        if (i < size && data[i] != 0) continue;
        const size_t n = i - start;
        storage.push_back(std::make_unique<char[]>(n + 1));
        std::memcpy(storage.back().get(), data + start, n);
        storage.back()[n] = 0;
        start = i + 1;
    }
    std::vector<char*> argv;
    for (auto& a : storage)
        argv.push_back(a.get());
    argv.push_back(nullptr);
    const int argc = int(argv.size() - 1);

    const Parsed a = parse(argv);
    if (a.result.ok) {
        check(argc >= 3);
        check(a.settings.scriptPath == argv[argc - 2]);
        check(a.settings.target == argv[argc - 1]);
    } else {
        check(a.result.exitCode != 0);
        check(a.messageBytes > 0);
    }
    check(a.settings.waitSeconds >= 0);

    const Parsed b = parse(argv);
    check(a.result.ok == b.result.ok && a.result.exitCode == b.result.exitCode);
    const sendtool::Settings &x = a.settings, &y = b.settings;
    check(x.baudRate == y.baudRate && x.byteSize == y.byteSize && x.parity == y.parity &&
          x.stopBits == y.stopBits && x.flow == y.flow && x.showData == y.showData &&
          x.binary == y.binary && x.waitSeconds == y.waitSeconds && x.scriptPath == y.scriptPath &&
          x.target == y.target);
    return 0;
}
