#include "usage.h"

namespace sendtool {

void printBanner(std::FILE* out, uint32_t libraryVersion) {
    std::fprintf(out, "Send data tool version 1.20 (%08X)\n", libraryVersion);
    std::fputs("Copyright (C) ORVAN. Sends printer scripts and files through libdova.\n", out);
}

void printUsage(std::FILE* out) {
    static const char* const kLines[] = {
        "Usage: prnfeed [options] <script> <target>\n",
        " options:\n",
        "    -b<baudrate>     48 96 192 384 4800 9600 19200 38400\n",
        "    -d<data length>  7 8\n",
        "    -f<flow control> D:DTR/DSR R:RTS/CTS X:XON/XOFF N:None\n",
        "    -s<stop bits>    1 2\n",
        "    -p<parity bits>  N:None O:Odd E:Even\n",
        "   -t show data\n",
        "   -w<seconds>       Wait seconds after sending all of data\n",
        "   -o output a binary file\n",
        " target:\n",
        "   CON\n",
        "   COM[1..]\n",
        "   LPT[1..]\n",
        "   KPUSB[0..]\n",
        "   CDUSB[0..]\n",
        "   USBPRN[0..]\n",
        "   192.168.192.168\n",
        " example:\n",
        "   >prnfeed -b192 sample.txt com1\n",
    };
    for (const char* line : kLines)
        std::fputs(line, out);
}

} // namespace sendtool
