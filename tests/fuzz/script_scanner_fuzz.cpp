// Fuzz target for the printer script scanner (clang, libFuzzer).
//
// Besides running under the sanitizers, it checks that line ends do not
// matter: a script without CRs and the same script with CR LF line ends must
// produce the same bytes, messages and polls.
#include "recording_script.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::string lf;
    for (size_t i = 0; i < size; ++i)
        if (data[i] != '\r') lf.push_back(static_cast<char>(data[i]));
    std::string crlf;
    for (char c : lf) {
        if (c == '\n') crlf.push_back('\r');
        crlf.push_back(c);
    }
    auto a = sendtool_test::scan(lf);
    auto b = sendtool_test::scan(crlf);
    if (a.bytes != b.bytes || a.events != b.events) std::abort();
    return 0;
}
