// A large script of mixed tokens converts to exactly the bytes its generator
// meant, both through the scanner alone and through prnfeed into a file.
#include "process_runner.h"
#include "recording_script.h"
#include "script_generator.h"

#include <gtest/gtest.h>

using namespace sendtool_test;

namespace {

size_t count(const std::vector<std::string>& events, std::string_view prefix) {
    size_t n = 0;
    for (auto& e : events)
        n += e.rfind(prefix, 0) == 0;
    return n;
}

TEST(SendtoolMixedScript, OneMegabyteConvertsExactly) {
    for (bool crlf : {false, true}) {
        GeneratedScript g = generateScript(1 << 20, crlf ? 7 : 11, crlf);
        RecordingScript r = scan(g.script);
        ASSERT_EQ(r.bytes.size(), g.expected.size()) << "crlf " << crlf;
        EXPECT_TRUE(r.bytes == g.expected) << "crlf " << crlf;
        EXPECT_EQ(count(r.events, "message:"), g.messageLines);
    }
}

TEST(SendtoolMixedScript, PrnfeedWritesTheSameBytesToAFile) {
    TempDir dir;
    GeneratedScript g = generateScript(1 << 20, 23, true);
    writeFile(dir / "job.txt", g.script);
    RunResult run = runProgram(PRNFEED_PATH, {"job.txt", "out.prn"}, RunOptions(dir.path()));
    ASSERT_EQ(run.exitCode, 0) << run.err;
    std::string got = readFile(dir / "out.prn");
    ASSERT_EQ(got.size(), g.expected.size());
    EXPECT_TRUE(got == g.expected);
}

} // namespace
