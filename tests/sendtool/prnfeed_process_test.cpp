// prnfeed as a program: command line, exit codes, scripts and binary files
// sent to file and dump targets.
#include "process_runner.h"

#include <gtest/gtest.h>

using namespace sendtool_test;

namespace {

const std::string kBanner = "Send data tool version 1.20 (20140410)\n";

const std::string kUsage = "Usage: prnfeed [options] <script> <target>\n"
                           " options:\n"
                           "    -b<baudrate>     48 96 192 384 4800 9600 19200 38400\n"
                           "    -d<data length>  7 8\n"
                           "    -f<flow control> D:DTR/DSR R:RTS/CTS X:XON/XOFF N:None\n"
                           "    -s<stop bits>    1 2\n"
                           "    -p<parity bits>  N:None O:Odd E:Even\n"
                           "   -t show data\n"
                           "   -w<seconds>       Wait seconds after sending all of data\n"
                           "   -o output a binary file\n"
                           " target:\n"
                           "   CON\n"
                           "   COM[1..]\n"
                           "   LPT[1..]\n"
                           "   KPUSB[0..]\n"
                           "   CDUSB[0..]\n"
                           "   USBPRN[0..]\n"
                           "   192.168.192.168\n"
                           " example:\n"
                           "   >prnfeed -b192 sample.txt com1\n";

const std::string kSeparator(56, '-');

class SendtoolPrnfeed : public ::testing::Test {
protected:
    TempDir dir;
    RunOptions options{dir.path()};

    RunResult run(const std::vector<std::string>& args) {
        RunResult r = runProgram(PRNFEED_PATH, args, options);
        EXPECT_FALSE(r.timedOut);
        return r;
    }

    // Everything after the two banner lines on standard error.
    static std::string afterBanner(const std::string& err) {
        EXPECT_EQ(err.rfind(kBanner, 0), 0u) << err;
        size_t second = err.find('\n', kBanner.size());
        return second == std::string::npos ? "" : err.substr(second + 1);
    }

    // Standard output without the separator lines and the "Total Time" line.
    static std::string body(const std::string& out) {
        std::string kept;
        size_t at = 0;
        while (at < out.size()) {
            size_t end = out.find('\n', at);
            std::string line = out.substr(at, end == std::string::npos ? end : end - at + 1);
            at = end == std::string::npos ? out.size() : end + 1;
            if (line == kSeparator + "\n" || line.rfind("Total Time = ", 0) == 0) continue;
            kept += line;
        }
        return kept;
    }

    // Library log with every API line, for checking which calls were made.
    std::filesystem::path enableApiLog() {
        auto log = dir / "dova.log";
        writeFile(dir / "libdova.conf", "Log=0x10\nLogPath=" + log.string() + "\n");
        options.env.push_back({"LIBDOVA_CONF", (dir / "libdova.conf").string()});
        return log;
    }
};

TEST_F(SendtoolPrnfeed, UsageTextByteForByte) {
    for (auto args : std::vector<std::vector<std::string>>{
             {}, {"job.txt"}, {"a", "b", "c"}, {"-w"}, {"job.txt", "out.prn", "-w"}}) {
        RunResult r = run(args);
        EXPECT_EQ(r.exitCode, 1);
        EXPECT_EQ(afterBanner(r.err), kUsage);
        EXPECT_EQ(r.out, "");
    }
}

TEST_F(SendtoolPrnfeed, SendsAScriptToAFileAndPrintsItsMessages) {
    writeFile(dir / "job.txt", "ESC \"@\"\n!Printing ticket 12\nGS V 66 0\n!done");
    RunResult r = run({"job.txt", "out.prn"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readFile(dir / "out.prn"), std::string("\x1b@\x1dV\x42\x00", 6));
    EXPECT_EQ(afterBanner(r.err), "");
    // Separator, messages, separator, time.
    ASSERT_EQ(r.out.rfind(
                  kSeparator + "\nPrinting ticket 12\ndone\n" + kSeparator + "\nTotal Time = ", 0),
              0u)
        << r.out;
    EXPECT_EQ(r.out.back(), '\n');
    EXPECT_NE(r.out.find(" sec\n"), std::string::npos);
}

TEST_F(SendtoolPrnfeed, CrLfScriptsSendNoCarriageReturns) {
    writeFile(dir / "job.txt", "!Cafe\r\nESC t 18\r\n\"Caf\"130\" ok\r\nLF\r\n");
    RunResult r = run({"job.txt", "out.prn"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(readFile(dir / "out.prn"), "\x1bt\x12"
                                         "Caf\x82 ok\n");
    EXPECT_EQ(body(r.out), "Cafe\n");
}

TEST_F(SendtoolPrnfeed, MessageOnlyScriptsSendNothing) {
    for (std::string script : {"!", "!first\n!second\n'comment\n", ""}) {
        writeFile(dir / "job.txt", script);
        RunResult r = run({"job.txt", "out.prn"});
        EXPECT_EQ(r.exitCode, 0);
        EXPECT_EQ(readFile(dir / "out.prn"), "") << script;
        EXPECT_EQ(body(r.out), script == "!" ? "\n" : script.empty() ? "" : "first\nsecond\n");
    }
}

TEST_F(SendtoolPrnfeed, ShowDataDisplaysEveryByteAndDumpInterleaves) {
    writeFile(dir / "job.txt", "ESC 200\n!mid\nSP");
    RunResult r = run({"-t", "job.txt", "DUMP"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(body(r.out), ">000000:  27 1Bh ESC\n"
                           ">000000:  27  1Bh  ESC\n"
                           ">000001: 200 C8h \n"
                           ">000001: 200  C8h  \n"
                           "mid\n"
                           ">000002:  32 20h SP\n"
                           ">000002:  32  20h  SP\n");
}

TEST_F(SendtoolPrnfeed, OptionLettersShareAnArgumentAndTakeValues) {
    writeFile(dir / "job.txt", "65");
    RunResult glued = run({"-tb9600", "job.txt", "out.prn"});
    EXPECT_EQ(glued.exitCode, 0);
    EXPECT_EQ(body(glued.out), ">000000:  65 41h A\n");
    RunResult separate =
        run({"-b", "192", "-d", "8", "-pE", "-s", "1", "-fx", "job.txt", "out.prn"});
    EXPECT_EQ(separate.exitCode, 0) << separate.err;
    EXPECT_EQ(afterBanner(separate.err), "");
    RunResult to = run({"-to", "job.txt", "out.prn"});
    EXPECT_EQ(to.exitCode, 0);
    EXPECT_EQ(readFile(dir / "out.prn"), "65");
    EXPECT_EQ(body(to.out), "");
}

TEST_F(SendtoolPrnfeed, UnknownLettersAreReportedAndTheSendGoesOn) {
    writeFile(dir / "job.txt", "66");
    RunResult r = run({"-l", "-x:", "job.txt", "out.prn"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(afterBanner(r.err), "unkown parameter l\nunkown parameter x\nunkown parameter :\n");
    EXPECT_EQ(readFile(dir / "out.prn"), "B");
}

TEST_F(SendtoolPrnfeed, InvalidValuesEndTheRunBeforeTheLibraryStarts) {
    auto log = enableApiLog();
    writeFile(dir / "job.txt", "66");
    const std::vector<std::pair<std::vector<std::string>, char>> cases = {
        {{"-b", "1234", "job.txt", "out.prn"}, 'b'},
        {{"-d9", "job.txt", "out.prn"}, 'd'},
        {{"-pZ", "job.txt", "out.prn"}, 'p'},
        {{"-s3", "job.txt", "out.prn"}, 's'},
        {{"-fq", "job.txt", "out.prn"}, 'f'},
        {{"-tb", "job.txt", "out.prn", "x"}, 'b'}, // the script path is taken as the value
        {{"job.txt"}, 0},                          // usage, for comparison below
        {{"-b"}, 'b'},                             // no value at the end of the line
    };
    for (auto& [args, letter] : cases) {
        RunResult r = run(args);
        EXPECT_EQ(r.exitCode, 1) << args[0];
        if (letter != 0) {
            EXPECT_EQ(afterBanner(r.err), std::string("Invalid parameter ") + letter + "\n")
                << args[0];
        }
        EXPECT_EQ(r.out, "");
    }
    EXPECT_FALSE(std::filesystem::exists(dir / "out.prn"));
    EXPECT_FALSE(std::filesystem::exists(log));
}

TEST_F(SendtoolPrnfeed, DoubleDashEndsTheOptions) {
    writeFile(dir / "-x", "67");
    RunResult r = run({"--", "-x", "out.prn"});
    EXPECT_EQ(r.exitCode, 0) << r.err;
    EXPECT_EQ(readFile(dir / "out.prn"), "C");
    EXPECT_EQ(afterBanner(r.err), "");
    // A lone "-" is an operand too, and so is everything after it.
    RunResult lone = run({"-", "-t", "out.prn"});
    EXPECT_EQ(lone.exitCode, 1);
    EXPECT_EQ(afterBanner(lone.err), kUsage);
}

TEST_F(SendtoolPrnfeed, LineParametersAreOnlyForSerialPorts) {
    auto log = enableApiLog();
    writeFile(dir / "job.txt", "68");
    RunResult r = run({"-b9600", "-pE", "job.txt", "DUMP"});
    EXPECT_EQ(r.exitCode, 0);
    std::string calls = readFile(log);
    EXPECT_NE(calls.find("DovaGetIFType"), std::string::npos);
    EXPECT_EQ(calls.find("DovaSetBaudRate"), std::string::npos);
    EXPECT_NE(calls.find("DovaRelease dwTimeout=30000"), std::string::npos);
    EXPECT_NE(calls.find("DovaLock dwTimeout=0"), std::string::npos);
}

TEST_F(SendtoolPrnfeed, AWaitComesLastAndReleasesAtOnce) {
    auto log = enableApiLog();
    writeFile(dir / "job.txt", "!sent");
    RunResult r = run({"-w", "1", "job.txt", "out.prn"});
    EXPECT_EQ(r.exitCode, 0);
    const std::string tail = " sec\nWait 1 seconds\n";
    ASSERT_GE(r.out.size(), tail.size());
    EXPECT_EQ(r.out.substr(r.out.size() - tail.size()), tail);
    EXPECT_NE(r.out.find("Total Time = "), std::string::npos);
    EXPECT_NE(readFile(log).find("DovaRelease dwTimeout=0"), std::string::npos);
    // A negative wait is no wait.
    RunResult negative = run({"-w-3", "job.txt", "out.prn"});
    EXPECT_EQ(negative.exitCode, 0);
    EXPECT_EQ(negative.out.find("Wait"), std::string::npos);
}

TEST_F(SendtoolPrnfeed, FilesThatCannotBeOpened) {
    RunResult script = run({"missing.txt", "out.prn"});
    EXPECT_EQ(script.exitCode, 1);
    EXPECT_EQ(afterBanner(script.err), "Can't open script file. <missing.txt>\n");
    RunResult binary = run({"-o", "missing.bin", "out.prn"});
    EXPECT_EQ(binary.exitCode, 1);
    EXPECT_EQ(afterBanner(binary.err), "Can't open binary file. <missing.bin>\n");
    std::filesystem::create_directory(dir / "folder");
    RunResult folder = run({"folder", "out.prn"});
    EXPECT_EQ(folder.exitCode, 1);
    EXPECT_EQ(afterBanner(folder.err), "Can't open script file. <folder>\n");
    EXPECT_EQ(script.out + binary.out + folder.out, "");
    EXPECT_FALSE(std::filesystem::exists(dir / "out.prn"));
}

// Exit codes 11 to 14 end with one line on standard error, after all else,
// that names the failed step, the target and the cause.
TEST_F(SendtoolPrnfeed, LibraryStartFailureGives11) {
    writeFile(dir / "libdova.conf", "Log=0x10\nLogPath=/nonexistent-folder/dova.log\n");
    options.env.push_back({"LIBDOVA_CONF", (dir / "libdova.conf").string()});
    writeFile(dir / "job.txt", "65");
    RunResult r = run({"job.txt", "out.prn"});
    EXPECT_EQ(r.exitCode, 11);
    EXPECT_EQ(r.out, "");
    EXPECT_EQ(afterBanner(r.err),
              "prnfeed: DovaStartup <out.prn> failed: code 1022, No such file or directory\n");
}

TEST_F(SendtoolPrnfeed, AClaimFailureGives13AndStillEndsTheRun) {
    writeFile(dir / "job.txt", "65");
    RunResult r = run({"job.txt", "no-such-folder/out.prn"});
    EXPECT_EQ(r.exitCode, 13);
    EXPECT_NE(r.out.find("Total Time = "), std::string::npos);
    EXPECT_EQ(afterBanner(r.err), "prnfeed: DovaClaim <no-such-folder/out.prn> failed: code "
                                  "1014, No such file or directory\n");

    // Nothing listens on port 1: the system's words say so.
    RunResult refused = run({"-w1", "job.txt", "127.0.0.1:1"});
    EXPECT_EQ(refused.exitCode, 13);
    EXPECT_EQ(afterBanner(refused.err),
              "prnfeed: DovaClaim <127.0.0.1:1> failed: code 1018, Connection refused\n");
    EXPECT_EQ(refused.out.substr(refused.out.size() - 15), "Wait 1 seconds\n");
}

TEST_F(SendtoolPrnfeed, ATargetWhoseKindThisBuildLacksGives12) {
    // Only a build without CUPS lacks a kind (the spooler's); such a kind
    // fails to open rather than claim.
    writeFile(dir / "job.txt", "65");
    for (const char* target : {"SPOOLER"}) {
        RunResult r = run({"job.txt", target});
        if (r.exitCode != 12) continue;
        EXPECT_EQ(afterBanner(r.err), "\aDovaOpenByName <" + std::string(target) +
                                          ">\nprnfeed: DovaOpenByName <" + target +
                                          "> failed: no port of this kind can be made for the "
                                          "target\n");
        return;
    }
    GTEST_SKIP() << "this build opens every kind tried";
}

TEST_F(SendtoolPrnfeed, BinaryModeSendsTheFileUnchanged) {
    std::string content(10000, '\0');
    for (size_t i = 0; i < content.size(); ++i)
        content[i] = static_cast<char>(i % 251);
    writeFile(dir / "data.bin", content);
    RunResult r = run({"-o", "data.bin", "out.prn"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(readFile(dir / "out.prn") == content);
    EXPECT_EQ(afterBanner(r.err), "  0%\r 40%\r 81%\r100%\r100%\n");
    EXPECT_EQ(body(r.out), "");

    writeFile(dir / "empty.bin", "");
    RunResult empty = run({"-o", "empty.bin", "out.prn"});
    EXPECT_EQ(empty.exitCode, 0);
    EXPECT_EQ(afterBanner(empty.err), "  0%\r100%\n");
    EXPECT_EQ(readFile(dir / "out.prn"), "");
}

TEST_F(SendtoolPrnfeed, BinaryModeIgnoresShowDataAndScriptSyntax) {
    writeFile(dir / "data.bin", "ESC \"x\"\r\n!msg\n");
    RunResult r = run({"-ot", "data.bin", "out.prn"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(readFile(dir / "out.prn"), "ESC \"x\"\r\n!msg\n");
    EXPECT_EQ(body(r.out), "");
}

TEST_F(SendtoolPrnfeed, BinaryModeStopsWithExit3WhenTheFileCannotGrow) {
    // The file size limit makes the port take part of a block and then
    // refuse the rest, as a full device would.
    std::string content(10000, 'z');
    writeFile(dir / "data.bin", content);
    options.fileSizeLimit = 5000;
    RunResult r = run({"-o", "data.bin", "out.prn"});
    EXPECT_EQ(r.exitCode, 3);
    EXPECT_EQ(readFile(dir / "out.prn"), std::string(5000, 'z'));
    EXPECT_EQ(body(r.out), "err=1101 dwErr=27\n");
    EXPECT_EQ(afterBanner(r.err), "  0%\r 40%\r");
}

TEST_F(SendtoolPrnfeed, AClosedOutputPipeDoesNotStopTheJob) {
    writeFile(dir / "job.txt", "!printing\n65\n!done\n66");
    options.stdoutToClosedPipe = true;
    RunResult r = run({"-t", "job.txt", "out.prn"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(readFile(dir / "out.prn"), "AB");
}

TEST_F(SendtoolPrnfeed, PromptsGoOnWhenNobodyCanPressAKey) {
    writeFile(dir / "job.txt", "65\n.\n66\n.Insert paper\n*20\n67");
    RunResult r = run({"job.txt", "out.prn"});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_EQ(readFile(dir / "out.prn"), "ABC");
    EXPECT_EQ(afterBanner(r.err), "Hit any key\nInsert paper\n");
    // With input, each prompt takes one byte of it.
    options.stdinText = "k";
    RunResult keyed = run({"job.txt", "out.prn"});
    EXPECT_EQ(keyed.exitCode, 0);
    EXPECT_EQ(readFile(dir / "out.prn"), "ABC");
}

} // namespace
