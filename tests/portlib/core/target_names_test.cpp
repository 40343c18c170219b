#include <gtest/gtest.h>

#include <dova/dova.h>

#include <arpa/inet.h>

#include <string>

namespace {

struct Resolved {
    uint32_t type;
    int32_t no, ch;
    uint32_t ip, port;
};

Resolved resolve(const std::string& target) {
    Resolved r{};
    r.type = _DovaWhatIF(target.c_str(), &r.no, &r.ch, &r.ip, &r.port);
    return r;
}

uint32_t addr(const char* dotted) {
    return inet_addr(dotted);
}

TEST(TargetNames, PortNamesWithAndWithoutNumbers) {
    Resolved com2 = resolve("com2");
    EXPECT_EQ(com2.type, DOVA_IF_COM);
    EXPECT_EQ(com2.no, 2);
    EXPECT_EQ(com2.ch, -1);
    EXPECT_EQ(resolve("COM").no, 1);
    EXPECT_EQ(resolve("COM12").no, 12);
    EXPECT_EQ(resolve("LPT1:").type, DOVA_IF_LPT);
    EXPECT_EQ(resolve("LPT1:").no, 1);
    EXPECT_EQ(resolve("PRN").type, DOVA_IF_LPT);
    EXPECT_EQ(resolve("USBPRN").no, 0);
    Resolved kpusb = resolve("KPUSB");
    EXPECT_EQ(kpusb.type, DOVA_IF_KPUSB);
    EXPECT_EQ(kpusb.no, 0);
    EXPECT_EQ(kpusb.ch, 0);
    EXPECT_EQ(resolve("CDUSB").ch, 1);
    EXPECT_EQ(resolve("REMOTE").ch, 0x10010003);
    EXPECT_EQ(resolve("CON").type, DOVA_IF_CON);
    EXPECT_EQ(resolve("dump").type, DOVA_IF_DUMP);
}

TEST(TargetNames, LaterRowsWinWhenAnEarlierNameIsOnlyABeginning) {
    Resolved gwkp2 = resolve("GWKP2");
    EXPECT_EQ(gwkp2.type, DOVA_IF_GW);
    EXPECT_EQ(gwkp2.no, 2);
    EXPECT_EQ(gwkp2.ch, 0);
    EXPECT_EQ(resolve("GWCD").ch, 1);
    Resolved libusbprn = resolve("LIBUSBPRN");
    EXPECT_EQ(libusbprn.type, DOVA_IF_LIBUSB);
    EXPECT_EQ(libusbprn.ch, 2);
    EXPECT_EQ(resolve("KPNET").type, DOVA_IF_KPNET);
    EXPECT_EQ(resolve("NDXCD3").no, 3);
}

TEST(TargetNames, NetworkAddresses) {
    Resolved a = resolve("192.168.0.10:9100");
    EXPECT_EQ(a.type, DOVA_IF_NET);
    EXPECT_EQ(a.ip, addr("192.168.0.10"));
    EXPECT_EQ(a.port, 9100u);
    EXPECT_EQ(a.no, -1);

    Resolved b = resolve("192.168.0.10");
    EXPECT_EQ(b.type, DOVA_IF_NET);
    EXPECT_EQ(b.port, 0u);

    Resolved net = resolve("NET@192.168.0.10:9100");
    EXPECT_EQ(net.type, DOVA_IF_NET);
    EXPECT_EQ(net.ip, addr("192.168.0.10"));
    EXPECT_EQ(net.port, 9100u);

    Resolved kp = resolve("KPNET@192.168.0.10");
    EXPECT_EQ(kp.type, DOVA_IF_KPNET);
    EXPECT_EQ(kp.ip, addr("192.168.0.10"));
    EXPECT_EQ(kp.port, 0u);

    Resolved bare = resolve("NET");
    EXPECT_EQ(bare.type, DOVA_IF_NET);
    EXPECT_EQ(bare.ip, 0u);
}

TEST(TargetNames, BlanksBeforeThePortNumberArePassedOver) {
    const uint32_t printer = addr("10.0.0.5");
    for (const char* t : {"10.0.0.5: 9100", "NET@10.0.0.5:  9100", "10.0.0.5:\t9100",
                          "KPNET@10.0.0.5: \t\r\n\v\f9100"}) {
        Resolved r = resolve(t);
        EXPECT_EQ(r.ip, printer) << t;
        EXPECT_EQ(r.port, 9100u) << t;
    }
    EXPECT_EQ(resolve("10.0.0.5: x9100").port, 0u) << "only blanks are passed over";
    EXPECT_EQ(resolve("10.0.0.5:  ").port, 0u);
}

TEST(TargetNames, AddressPartIgnoredForKindsWithoutAddress) {
    Resolved r = resolve("COM1@x");
    EXPECT_EQ(r.type, DOVA_IF_COM);
    EXPECT_EQ(r.no, 1);
    EXPECT_EQ(r.ip, 0u);
    EXPECT_EQ(resolve("COM1@10.0.0.1:9100").port, 0u);
}

TEST(TargetNames, EverythingElseIsAFile) {
    for (const char* t : {"0.1.2.3", "255.1.2.3", "out.prn", "COMX", "NETWORK", "C:\\jobs\\a.bin",
                          "255.255.255.255", ""})
        EXPECT_EQ(resolve(t).type, DOVA_IF_FILE) << t;
    EXPECT_EQ(resolve("0.1.2.3:9100").port, 0u);
}

TEST(TargetNames, LongAddressTextsStayInsideTheBuffer) {
    std::string longAddress = "NET@" + std::string(400, '1') + ":9100";
    Resolved r = resolve(longAddress);
    EXPECT_EQ(r.type, DOVA_IF_NET);
    EXPECT_EQ(r.port, 0u);
    EXPECT_EQ(resolve(std::string(1000, '9')).type, DOVA_IF_FILE);
    // A port number that overflows saturates instead of wrapping.
    EXPECT_EQ(resolve("10.0.0.1:99999999999").port, 0xFFFFFFFFu);
}

TEST(TargetNames, NullOutArgumentsAreAllowed) {
    EXPECT_EQ(_DovaWhatIF("COM3", nullptr, nullptr, nullptr, nullptr), DOVA_IF_COM);
    EXPECT_EQ(_DovaWhatIF(nullptr, nullptr, nullptr, nullptr, nullptr), DOVA_IF_FILE);
}

} // namespace
