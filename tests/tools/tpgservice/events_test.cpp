// Guest calls: recorded from the guest page, handed to the desk exactly once.

#include "service_fixture.h"

#include <algorithm>
#include <atomic>
#include <map>
#include <set>
#include <sstream>

namespace tpgservice::test {
namespace {

class tpgserviceEvents : public ServiceTest {
protected:
    void SetUp() override {
        ServiceTest::SetUp();
        writeProfile("12345", {{"name", "Pizza"},
                               {"text1", "Waiter"},
                               {"text2", "Cash"},
                               {"text3", "Card"},
                               {"text6", "Other"}});
    }
    int call(int qr, int option) {
        auto res = get("/options.php?id=12345&qr=" + std::to_string(qr) +
                       "&option=" + std::to_string(option));
        return res ? res->status : -1;
    }
};

TEST_F(tpgserviceEvents, HandedOutOnceOldestFirst) {
    ASSERT_EQ(call(12, 2), 200);
    ASSERT_EQ(call(3, 1), 200);
    ASSERT_EQ(call(12, 6), 200);
    auto res = get("/read_events.php?id=12345");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->body, "12|2\n3|1\n12|6\n");
    EXPECT_EQ(get("/read_events.php?id=12345")->body, "");
    ASSERT_EQ(call(5, 3), 200);
    EXPECT_EQ(get("/read_events.php?id=12345")->body, "5|3\n");
}

TEST_F(tpgserviceEvents, ClearDropsPendingOnlyForThatCompany) {
    writeProfile("77777", {{"name", "Other place"}, {"text1", "Waiter"}});
    ASSERT_EQ(call(1, 1), 200);
    ASSERT_EQ(get("/options.php?id=77777&qr=9&option=1")->status, 200);
    auto res = get("/clear_events.php?id=12345");
    ASSERT_TRUE(res);
    EXPECT_EQ(res->status, 200);
    EXPECT_EQ(get("/read_events.php?id=12345")->body, "");
    EXPECT_EQ(get("/read_events.php?id=77777")->body, "9|1\n");
}

TEST_F(tpgserviceEvents, CallsThatCannotBeRecordedAreRefused) {
    EXPECT_EQ(call(1, 4), 400) << "option 4 has no text, so it is not offered";
    EXPECT_EQ(call(1, 7), 400);
    EXPECT_EQ(get("/options.php?id=12345&qr=1&option=x")->status, 400);
    EXPECT_EQ(get("/options.php?id=12345&qr=-1&option=1")->status, 400);
    EXPECT_EQ(get("/options.php?id=12345&qr=1000000&option=1")->status, 400);
    EXPECT_EQ(get("/options.php?id=00000&qr=1&option=1")->status, 404);
    EXPECT_EQ(get("/read_events.php?id=12345")->body, "");
    EXPECT_EQ(get("/read_events.php")->status, 400);
}

TEST_F(tpgserviceEvents, PendingCallsAreBounded) {
    auto& storage = running_->service().storage();
    for (int i = 0; i < 999; ++i)
        ASSERT_TRUE(storage.addEvent("12345", i % 50, 1));
    EXPECT_EQ(call(1, 1), 200);
    EXPECT_EQ(call(1, 1), 503);
    std::string events = get("/read_events.php?id=12345")->body;
    EXPECT_EQ(std::count(events.begin(), events.end(), '\n'), 1000);
    EXPECT_EQ(call(1, 1), 200) << "reading makes room again";
}

// Two desks (or a desk that polls again while a modal alert is open) read at
// once while guests keep calling: every call must come out exactly once.
TEST_F(tpgserviceEvents, TwoConcurrentReadersNeverShareAnEvent) {
    constexpr int kCalls = 150;
    std::atomic<bool> writing{true};
    std::vector<std::string> seen[2];
    auto reader = [&](int n) {
        auto client = running_->client();
        auto drain = [&] {
            auto res = client->Get("/read_events.php?id=12345");
            ASSERT_TRUE(res);
            std::istringstream lines(res->body);
            for (std::string line; std::getline(lines, line);)
                seen[n].push_back(line);
        };
        while (writing)
            drain();
        drain();
    };
    std::thread a(reader, 0), b(reader, 1);
    {
        auto client = running_->client();
        for (int i = 0; i < kCalls; ++i) {
            auto res = client->Get("/options.php?id=12345&qr=" + std::to_string(i) + "&option=1");
            ASSERT_TRUE(res);
            ASSERT_EQ(res->status, 200);
        }
    }
    writing = false;
    a.join();
    b.join();

    std::multiset<std::string> all(seen[0].begin(), seen[0].end());
    all.insert(seen[1].begin(), seen[1].end());
    EXPECT_EQ(all.size(), static_cast<std::size_t>(kCalls));
    for (int i = 0; i < kCalls; ++i) {
        EXPECT_EQ(all.count(std::to_string(i) + "|1"), 1u) << "call " << i;
    }
    // Each reader sees its share in the order the guests called.
    for (auto& lines : seen) {
        for (std::size_t i = 1; i < lines.size(); ++i) {
            EXPECT_LT(std::stoi(lines[i - 1]), std::stoi(lines[i]));
        }
    }
}

TEST_F(tpgserviceEvents, StatisticsNeedTheCompanyPassword) {
    ASSERT_EQ(call(12, 2), 200);
    ASSERT_EQ(call(12, 2), 200);
    ASSERT_EQ(call(3, 1), 200);
    auto res = post("/stat.php", {{"id", "12345"}, {"password", ""}});
    EXPECT_EQ(res->status, 403) << "no password set: no statistics";
    writeProfile("12345", {{"textwww", "Secret#2024A"}});
    res = post("/stat.php", {{"id", "12345"}, {"password", "secret#2024a"}});
    EXPECT_EQ(res->status, 403);
    EXPECT_EQ(res->body.find("<table"), std::string::npos);
    res = post("/stat.php", {{"id", "12345"}, {"password", "Secret#2024A"}});
    ASSERT_EQ(res->status, 200);
    EXPECT_NE(res->body.find("<tr><td>12</td><td>0</td><td>2</td><td>0</td><td>0</td><td>0</td>"
                             "<td>0</td><td>2</td></tr>"),
              std::string::npos)
        << res->body;
    EXPECT_NE(res->body.find("<th>3</th>"), std::string::npos) << "total of all calls";
    EXPECT_EQ(get("/stat.php")->status, 200) << "the login form";
}

} // namespace
} // namespace tpgservice::test
