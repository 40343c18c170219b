// The desk's profile endpoints: completeness, record line, writes, token.

#include "service_fixture.h"

#include <fstream>

namespace tpgservice::test {
namespace {

using tpgserviceProfile = ServiceTest;

std::string readRecord(httplib::SSLClient& client, const std::string& id) {
    auto res = client.Get("/readsqlx.php?id=" + id + "&token=" + kToken +
                          "&date_created=1&name=1&lang=1&ip=1&text1=1&completed=1");
    EXPECT_TRUE(res);
    if (!res) return {};
    EXPECT_EQ(res->status, 200);
    return res->body;
}

TEST_F(tpgserviceProfile, WriteThenReadRecordLine) {
    writeProfile("12345", {{"name", "Bistro \"Na rohu\" | Bar"},
                           {"lang", "SK"},
                           {"ip", "192.168.1.50"},
                           {"text1", "Call the waiter"},
                           {"text2", "Pay\ncash"},
                           {"textwww", "Secret#2024A"},
                           {"specialpath", "1,3,5..8,10"},
                           {"date_created", "2026-12-09"},
                           {"nonsense", "ignored"}});
    // Fields 6-15 and 18-27 are empty, and so are 29-33.
    const std::string gap10 = std::string(11, '|'), gap5 = std::string(6, '|');
    EXPECT_EQ(readRecord(*client_, "12345"),
              "12345|2026-12-09||\"Bistro \"\"Na rohu\"\" | Bar\"|SK|192.168.1.50" + gap10 +
                  "Call the waiter|\"Pay\ncash\"" + gap10 + "Secret#2024A" + gap5 +
                  "1,3,5..8,10\n");
}

TEST_F(tpgserviceProfile, LaterWritesKeepFieldsTheyDoNotName) {
    writeProfile("12345", {{"name", "Pizza"}, {"text1", "Waiter"}, {"output", "2"}});
    writeProfile("12345", {{"specialpath", "1..4"}});
    writeProfile("12345", {{"name", ""}});
    std::string record = readRecord(*client_, "12345");
    EXPECT_NE(record.find("|Waiter|"), std::string::npos) << record;
    EXPECT_NE(record.find("|2||1..4\n"), std::string::npos) << record;
    EXPECT_EQ(record.rfind("12345|||||", 0), 0u) << "an empty value is stored as empty: " << record;
}

TEST_F(tpgserviceProfile, CompletenessFollowsTheCompletedFlag) {
    auto body = [&] { return get("/readsqlcompleted.php?id=12345")->body; };
    EXPECT_EQ(body(), "{\"completed\":0}") << "unknown company";
    writeProfile("12345", {{"name", "Pizza"}});
    EXPECT_EQ(body(), "{\"completed\":0}");
    writeProfile("12345", {{"completed", "1"}});
    EXPECT_EQ(body(), "{\"completed\":1}");
    EXPECT_EQ(get("/readsqlcompleted.php?id=12345")->get_header_value("Content-Type"),
              "application/json");
}

TEST_F(tpgserviceProfile, UnknownCompanyReadsEmpty) {
    auto res = get(std::string("/readsqlx.php?id=99999&token=") + kToken);
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(res->body, "");
}

TEST_F(tpgserviceProfile, TokenIsRequiredForProfileReadsAndWrites) {
    writeProfile("12345", {{"name", "Pizza"}});
    for (const char* path : {"/readsqlx.php?id=12345", "/readsqlx.php?id=12345&token=",
                             "/readsqlx.php?id=12345&token=marwenodelsip",
                             "/readsqlx.php?id=12345&token=MarwenoDelsipX"}) {
        auto res = get(path);
        ASSERT_TRUE(res);
        EXPECT_EQ(res->status, 403) << path;
        EXPECT_EQ(res->body.find("Pizza"), std::string::npos);
    }
    auto res = post("/writesql.php", {{"id", "12345"}, {"token", "wrong"}, {"name", "Hacked"}});
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 403);
    res = post("/writesql.php", {{"id", "55555"}, {"name", "No token"}});
    EXPECT_EQ(res->status, 403);
    EXPECT_EQ(readRecord(*client_, "55555"), "") << "a refused write creates nothing";
    EXPECT_NE(readRecord(*client_, "12345").find("|Pizza|"), std::string::npos);
}

TEST_F(tpgserviceProfile, OversizedOrMalformedInputIsRefused) {
    auto res = post("/writesql.php",
                    {{"id", "12345"}, {"token", kToken}, {"name", std::string(1001, 'x')}});
    EXPECT_EQ(res->status, 400);
    res = post("/writesql.php", {{"id", std::string(65, '1')}, {"token", kToken}});
    EXPECT_EQ(res->status, 400);
    res = post("/writesql.php", {{"id", "12\n345"}, {"token", kToken}});
    EXPECT_EQ(res->status, 400);
    res = post("/writesql.php", {{"token", kToken}, {"name", "no id"}});
    EXPECT_EQ(res->status, 400);
    EXPECT_EQ(readRecord(*client_, "12345"), "") << "nothing half-written";
    // A body far beyond any profile is cut off before it is parsed.
    res = post("/writesql.php",
               {{"id", "12345"}, {"token", kToken}, {"name", std::string(100000, 'x')}});
    ASSERT_TRUE(res);
    EXPECT_GE(res->status, 400);
}

TEST_F(tpgserviceProfile, IdWithSpecialCharactersIsStoredVerbatim) {
    writeProfile("A&B 1", {{"name", "Odd"}});
    auto res = get(std::string("/readsqlx.php?id=A%26B%201&token=") + kToken);
    EXPECT_EQ(res->body.rfind("A&B 1|", 0), 0u) << res->body;
}

TEST_F(tpgserviceProfile, DataSurvivesARestart) {
    writeProfile("12345", {{"name", "Pizza"}, {"text1", "Waiter"}, {"completed", "1"}});
    ASSERT_EQ(get("/options.php?id=12345&qr=4&option=1")->status, 200);
    std::string before = readRecord(*client_, "12345");
    std::string certificate = running_->service().certificatePath().string();
    std::ifstream first(certificate);
    std::string pemBefore((std::istreambuf_iterator<char>(first)), {});

    restart();

    EXPECT_EQ(readRecord(*client_, "12345"), before);
    EXPECT_EQ(get("/readsqlcompleted.php?id=12345")->body, "{\"completed\":1}");
    EXPECT_EQ(get("/read_events.php?id=12345")->body, "4|1\n");
    std::ifstream second(certificate);
    std::string pemAfter((std::istreambuf_iterator<char>(second)), {});
    EXPECT_EQ(pemAfter, pemBefore) << "clients told to trust the certificate must not lose it";
}

} // namespace
} // namespace tpgservice::test
