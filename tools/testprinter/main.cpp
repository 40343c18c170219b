// testprinter: plays a network receipt printer on loopback until SIGTERM or
// SIGINT. See usage() for the modes.
#include "receipt_folder.h"
#include "test_printer.h"

#include <signal.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace {

void usage() {
    std::fputs("Usage: testprinter --out FILE [options]\n"
               "       testprinter --receipts DIR [options]\n"
               "       testprinter --render JOB.bin OUT.png [--paper 58]\n"
               "  --out FILE           append every byte received to FILE\n"
               "  --receipts DIR       draw each job as DIR/NNNN.png, with its transcript in\n"
               "                       DIR/NNNN.txt\n"
               "  --render JOB OUT     draw a saved job into OUT (a PNG) and its transcript\n"
               "                       beside it (OUT ending in .txt), then end\n"
               "  --paper MM           paper width for the pictures: 80 (576 dots) or 58 (384)\n"
               "  --host ADDR          listen address (127.0.0.1)\n"
               "  --port N             TCP port for printer data (9100; 0 lets the system choose)\n"
               "  --udp-port N         answer the KP status channel on this UDP port (0: any)\n"
               "  --slow MS            pause MS milliseconds between reads\n"
               "  --chunk N            read at most N bytes at a time (65536)\n"
               "  --stall-after N      stop reading after N bytes of a connection\n"
               "  --close-after N      drop the connection after N bytes\n"
               "  --never-close        keep the connection open after the sender finished\n"
               "  --rcvbuf N           receive buffer of a connection in bytes (the system's)\n"
               "  --status-silent      take status requests but answer none\n"
               "  --status-skip N      leave the first N status requests unanswered\n"
               "  --status-result N    result code of every status reply (0)\n"
               "  --force-state N      data byte of force replies (echo the request)\n"
               "  --device-text TEXT   answer of the device text query\n"
               "  --device-code TEXT   answer of the device code query\n",
               stderr);
}

bool number(const char* text, unsigned long long max, unsigned long long* out) {
    if (!text || !*text) return false;
    char* end = nullptr;
    errno = 0;
    unsigned long long v = std::strtoull(text, &end, 10);
    if (errno || *end || v > max) return false;
    *out = v;
    return true;
}

} // namespace

int main(int argc, char** argv) {
    testprinter::Options o;
    bool haveOut = false;
    std::string renderJob, renderPng;
    for (int i = 1; i < argc; ++i) {
        std::string a = argv[i];
        const char* v = i + 1 < argc ? argv[i + 1] : nullptr;
        unsigned long long n = 0;
        auto needNumber = [&](unsigned long long max) {
            if (!number(v, max, &n)) {
                std::fprintf(stderr, "testprinter: %s needs a number up to %llu\n", a.c_str(), max);
                std::exit(2);
            }
            ++i;
        };
        if (a == "--out" && v) {
            o.outPath = v;
            haveOut = true;
            ++i;
        } else if (a == "--receipts" && v) {
            o.receiptsDir = v;
            haveOut = true;
            ++i;
        } else if (a == "--render" && v && i + 2 < argc) {
            renderJob = v;
            renderPng = argv[i + 2];
            i += 2;
        } else if (a == "--paper" && v &&
                   (std::strcmp(v, "80") == 0 || std::strcmp(v, "58") == 0)) {
            o.paperWidth = std::strcmp(v, "80") == 0 ? 576 : 384;
            ++i;
        } else if (a == "--host" && v) {
            o.host = v;
            ++i;
        } else if (a == "--port") {
            needNumber(65535);
            o.port = uint16_t(n);
        } else if (a == "--udp-port") {
            needNumber(65535);
            o.statusChannel = true;
            o.udpPort = uint16_t(n);
        } else if (a == "--slow") {
            needNumber(60000);
            o.readDelayMs = uint32_t(n);
        } else if (a == "--chunk") {
            needNumber(1u << 24);
            o.readChunk = uint32_t(n ? n : 1);
        } else if (a == "--stall-after") {
            needNumber(UINT64_MAX);
            o.stallAfter = n;
        } else if (a == "--close-after") {
            needNumber(UINT64_MAX);
            o.closeAfter = n;
        } else if (a == "--rcvbuf") {
            needNumber(1u << 26);
            o.receiveBuffer = int(n);
        } else if (a == "--never-close") {
            o.neverClose = true;
        } else if (a == "--status-silent") {
            o.statusSilent = true;
        } else if (a == "--status-skip") {
            needNumber(1000000);
            o.statusSkip = uint32_t(n);
        } else if (a == "--status-result") {
            needNumber(65535);
            o.statusResult = uint16_t(n);
        } else if (a == "--force-state") {
            needNumber(255);
            o.forceState = int(n);
        } else if (a == "--device-text" && v) {
            o.deviceText = v;
            ++i;
        } else if (a == "--device-code" && v) {
            o.deviceCode = v;
            ++i;
        } else {
            usage();
            return 2;
        }
    }
    if (!renderJob.empty()) {
        std::string transcript, error;
        if (!testprinter::renderFile(renderJob, renderPng, o.paperWidth, &transcript, &error)) {
            std::fprintf(stderr, "testprinter: %s\n", error.c_str());
            return 1;
        }
        std::printf("picture: %s\ntranscript: %s\n", renderPng.c_str(), transcript.c_str());
        return 0;
    }
    if (!haveOut) {
        usage();
        return 2;
    }
    // One line per job, for scripts that show the picture as it comes.
    o.onReceipt = [](const std::string& png, const std::string& error) {
        if (png.empty())
            std::fprintf(stderr, "testprinter: no picture: %s\n", error.c_str());
        else
            std::printf("receipt: %s\n", png.c_str());
        std::fflush(stdout);
    };

    // Wait for the end signal synchronously, so the printer's threads keep
    // the default mask and no handler runs inside them.
    sigset_t stopSignals;
    sigemptyset(&stopSignals);
    sigaddset(&stopSignals, SIGTERM);
    sigaddset(&stopSignals, SIGINT);
    pthread_sigmask(SIG_BLOCK, &stopSignals, nullptr);
    signal(SIGPIPE, SIG_IGN);

    testprinter::TestPrinter printer(o);
    std::string error;
    if (!printer.start(&error)) {
        std::fprintf(stderr, "testprinter: %s\n", error.c_str());
        return 1;
    }
    std::printf("listening: %s:%u\n", o.host.c_str(), unsigned(printer.tcpPort()));
    if (o.statusChannel)
        std::printf("status: %s:%u\n", o.host.c_str(), unsigned(printer.udpPort()));
    std::fflush(stdout);
    int sig = 0;
    sigwait(&stopSignals, &sig);
    printer.stop();
    std::fprintf(stderr, "testprinter: %llu bytes in %d connections\n",
                 static_cast<unsigned long long>(printer.bytesReceived()),
                 printer.connectionsEnded());
    return 0;
}
