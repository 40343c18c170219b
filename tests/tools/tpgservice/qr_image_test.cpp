// The QR images decode back to the guest page with an independent decoder.

#include "service_fixture.h"

#include <cstdio>
#include <fstream>
#include <memory>

namespace tpgservice::test {
namespace {

// zbarimg (Debian's zbar-tools) reads the symbol; its absence is a failure.
std::string decode(const std::filesystem::path& png) {
    // zbarimg chatters about D-Bus on stderr; only the decoded text is wanted.
    std::string command = "zbarimg --quiet --raw '" + png.string() + "' 2>/dev/null";
    std::unique_ptr<FILE, int (*)(FILE*)> pipe(popen(command.c_str(), "r"), pclose);
    if (!pipe) return "cannot run zbarimg";
    std::string out;
    char buf[512];
    while (std::size_t n = std::fread(buf, 1, sizeof buf, pipe.get()))
        out.append(buf, n);
    while (!out.empty() && (out.back() == '\n' || out.back() == '\r'))
        out.pop_back();
    return out;
}

std::filesystem::path save(const TempDir& dir, const std::string& name, const std::string& body) {
    auto file = dir.path / name;
    std::ofstream(file, std::ios::binary) << body;
    return file;
}

using tpgserviceQrImage = ServiceTest;

TEST_F(tpgserviceQrImage, DecodesToTheGuestPageAddress) {
    writeProfile("12345", {{"name", "Reštaurácia Pod Hradom"},
                           {"text1u", "Scan me"},
                           {"text2u", "and call us"},
                           {"text1d", "Thank you"},
                           {"text2d", "Dakujeme"},
                           {"qrcolor", "3"}});
    auto res = get("/genqr.php?id=12345&qr=7&color=2&namesize=3&text1usize=1&text2usize=2"
                   "&text1dsize=3&text2dsize=1");
    ASSERT_TRUE(res);
    ASSERT_EQ(res->status, 200) << res->body;
    EXPECT_EQ(res->body, base() + "/customers/12345/qr7.png\n");

    auto image = get("/customers/12345/qr7.png");
    ASSERT_EQ(image->status, 200);
    EXPECT_LT(image->body.size(), 20000u) << "images stay small";
    EXPECT_EQ(decode(save(data_, "qr7.png", image->body)), base() + "/options.php?id=12345&qr=7");
    // The address the desk tells its user works as well.
    EXPECT_EQ(get("/12345/qr7.png")->body, image->body);
}

TEST_F(tpgserviceQrImage, UnknownCompanyOrNumberIsRefused) {
    EXPECT_EQ(get("/genqr.php?id=99999&qr=1")->status, 404);
    writeProfile("12345", {{"name", "Pizza"}});
    EXPECT_EQ(get("/genqr.php?id=12345")->status, 400);
    EXPECT_EQ(get("/genqr.php?id=12345&qr=abc")->status, 400);
    EXPECT_EQ(get("/customers/99999/qr1.png")->status, 404);
    EXPECT_EQ(get("/customers/12345/qr12345678.png")->status, 404);
}

TEST(tpgserviceQrImageBase, PublicBaseAddressGoesIntoTheCode) {
    TempDir data;
    RunningService running(data.path, "https://tables.example.com/");
    auto client = running.client();
    auto write = client->Post("/writesql.php",
                              httplib::Params{{"id", "A&B 1"}, {"token", kToken}, {"name", "Odd"}});
    ASSERT_EQ(write->status, 200);
    auto res = client->Get("/genqr.php?id=A%26B%201&qr=3");
    ASSERT_EQ(res->status, 200);
    EXPECT_EQ(res->body, "https://tables.example.com/customers/A%26B%201/qr3.png\n");
    auto image = client->Get("/customers/A%26B%201/qr3.png");
    ASSERT_EQ(image->status, 200);
    EXPECT_EQ(decode(save(data, "qr3.png", image->body)),
              "https://tables.example.com/options.php?id=A%26B%201&qr=3");
}

} // namespace
} // namespace tpgservice::test
