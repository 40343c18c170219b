// The printer script scanner alone, with the port replaced by a byte counter.
//
//   sendtool_scanner_bench                      run the benchmarks
//   sendtool_scanner_bench --generate PATH MB   write a script of MB megabytes
//                                               to PATH and its bytes to PATH.bin
#include "script_generator.h"
#include "script_scanner.h"

#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>

namespace {

class CountingScript : public sendtool::ScriptActions {
public:
    uint64_t bytes = 0;
    uint64_t polls = 0;
    void byte(uint8_t) override { ++bytes; }
    void poll() override { ++polls; }
    void message(std::string_view) override {}
    void prompt(std::string_view) override {}
    void delay(std::string_view) override {}
};

const sendtool_test::GeneratedScript& script20MB() {
    static const auto generated = sendtool_test::generateScript(20u << 20, 42, true);
    return generated;
}

void BM_ScanGeneratedScript(benchmark::State& state) {
    const std::string& text = script20MB().script;
    std::string copy = text;
    for (auto _ : state) {
        std::FILE* f = fmemopen(copy.data(), copy.size(), "r");
        CountingScript counter;
        sendtool::runScript(f, counter);
        std::fclose(f);
        if (counter.bytes != script20MB().expected.size()) state.SkipWithError("wrong byte count");
        benchmark::DoNotOptimize(counter.bytes);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    state.counters["output_bytes"] = static_cast<double>(script20MB().expected.size());
}
BENCHMARK(BM_ScanGeneratedScript)->Unit(benchmark::kMillisecond)->MinTime(3);

// A script that is almost only one long string: the cost per byte of text.
void BM_ScanLongStrings(benchmark::State& state) {
    std::string text;
    while (text.size() < (20u << 20))
        text += "\"" + std::string(200, 'x') + "\"\r\n";
    for (auto _ : state) {
        std::FILE* f = fmemopen(text.data(), text.size(), "r");
        CountingScript counter;
        sendtool::runScript(f, counter);
        std::fclose(f);
        benchmark::DoNotOptimize(counter.bytes);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
}
BENCHMARK(BM_ScanLongStrings)->Unit(benchmark::kMillisecond)->MinTime(3);

// One token of 10 MB: a string, a comment line, a number, a message line.
// Its cost must stay linear in its length, at the scanner's usual speed.
void BM_ScanOneLongToken(benchmark::State& state) {
    const size_t length = 10u << 20;
    std::string text;
    switch (state.range(0)) {
    case 0:
        text = "\"" + std::string(length, 'x') + "\"\r\n";
        break;
    case 1:
        text = "'" + std::string(length, 'c') + "\r\n";
        break;
    case 2:
        text = std::string(length, '7') + "\r\n";
        break;
    default:
        text = "!" + std::string(length, 'm') + "\r\n";
        break;
    }
    for (auto _ : state) {
        std::FILE* f = fmemopen(text.data(), text.size(), "r");
        CountingScript counter;
        sendtool::runScript(f, counter);
        std::fclose(f);
        benchmark::DoNotOptimize(counter.bytes);
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * text.size()));
    static const char* const kinds[] = {"string", "comment", "number", "message"};
    state.SetLabel(kinds[state.range(0)]);
}
BENCHMARK(BM_ScanOneLongToken)->DenseRange(0, 3)->Unit(benchmark::kMillisecond)->MinTime(2);

int generate(const char* path, const char* megabytes) {
    auto g = sendtool_test::generateScript(std::strtoul(megabytes, nullptr, 10) << 20, 42, true);
    std::ofstream(path, std::ios::binary) << g.script;
    std::ofstream(std::string(path) + ".bin", std::ios::binary) << g.expected;
    std::printf("%s: %zu bytes of script, %zu bytes to send\n", path, g.script.size(),
                g.expected.size());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc == 4 && std::strcmp(argv[1], "--generate") == 0) return generate(argv[2], argv[3]);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
