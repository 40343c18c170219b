// Generates printer scripts of mixed tokens together with the bytes they
// must produce. The expected bytes come from the generator's own knowledge of
// each token it wrote, not from the scanner, so the two can be compared.
#pragma once

#include <cstdint>
#include <string>

namespace sendtool_test {

struct GeneratedScript {
    std::string script;
    std::string expected;
    size_t messageLines = 0;
};

// At least minSize bytes of script; the same seed gives the same script.
// With crlf the lines end in CR LF, as the desk writes them.
GeneratedScript generateScript(size_t minSize, uint32_t seed, bool crlf);

} // namespace sendtool_test
