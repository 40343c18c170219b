// The printer-name ports with their libraries missing, with only the
// functions a claim needs, or with none: the trace shows each library's own
// fixed value.
#include "backends/vendor/hprdh.h"
#include "backends/vendor/nrdtdh.h"
#include "backends/vendor/nrdtlm.h"
#include "vendor_test_support.h"

#include <dova/dova.h>
#include <gtest/gtest.h>

namespace {

template <class Port> std::string claimTrace(int32_t expected) {
    Port port;
    port.setName("P");
    TraceCapture trace;
    EXPECT_EQ(port.claim(0), expected);
    EXPECT_EQ(port.release(0), DOVA_OK);
    return trace.text();
}

TEST(LibraryMissing, PrinterNamePorts) {
    EXPECT_NE(claimTrace<WHPRDH>(DOVA_E_OPEN).find("DOVA:  'P'=536870921\n"), std::string::npos);
    EXPECT_NE(claimTrace<WNrdtdh>(DOVA_E_OPEN).find("DOVA:  'P'=1157\n"), std::string::npos);
    EXPECT_NE(claimTrace<WNrdtlm>(DOVA_E_OPEN).find("DOVA:  'P'=-99\n"), std::string::npos);
}

template <class Port>
void checkWithoutFunctions(const char* library, int32_t lock, int32_t unlock,
                           const char* sendTrace) {
    PlayedLibrary played(library);
    ASSERT_TRUE(played.isLoaded()) << library;
    Port port;
    port.setName("P");
    ASSERT_EQ(port.claim(0), DOVA_OK) << library;
    EXPECT_EQ(port.lock(0), lock) << library;
    EXPECT_EQ(port.unlock(0), unlock) << library;
    TraceCapture trace;
    uint32_t n = 7;
    EXPECT_EQ(port.send("x", 1, &n, 0, 0, 0), DOVA_E_WRITE) << library;
    EXPECT_EQ(n, 0u) << library;
    EXPECT_EQ(port.release(0), DOVA_OK) << library;
    EXPECT_EQ(port.isOpen(), 0) << library;
    std::string t = trace.text();
    // All but the release line.
    EXPECT_EQ(t.substr(0, t.rfind("DOVA: ")), sendTrace) << library;
}

TEST(FunctionsMissing, PrinterNamePorts) {
    checkWithoutFunctions<WHPRDH>("HPRDH.dll", DOVA_E_NOTSUPPORTED, DOVA_E_NOTSUPPORTED,
                                  "DOVA: WniPrtWrite(1, 0)=536870921\n");
    checkWithoutFunctions<WNrdtdh>("nrDTescM.dll", DOVA_E_ESCAPE, DOVA_E_ESCAPE, "");
    checkWithoutFunctions<WNrdtlm>("nrDTLmIF.dll", DOVA_E_LOCK, DOVA_E_UNLOCK,
                                   "DOVA: LIWrite(1, 0)=-99\n");
}

TEST(NoFunctions, PrinterNamePorts) {
    EXPECT_NE(claimTrace<WHPRDH>(DOVA_E_OPEN).find("DOVA:  'P'=536870921\n"), std::string::npos);
    EXPECT_NE(claimTrace<WNrdtdh>(DOVA_E_OPEN).find("DOVA:  'P'=-2147418113\n"), std::string::npos)
        << "a library without the function answers 0x8000FFFF, not 1157";
    EXPECT_NE(claimTrace<WNrdtlm>(DOVA_E_OPEN).find("DOVA:  'P'=-99\n"), std::string::npos);
}

} // namespace
