// Reading the profile, the completeness query and rule, against a service on
// loopback.
#include "form_fixture.h"
#include "loopback_http_server.h"
#include "profile_answer.h"
#include "profile_service.h"

#include <gtest/gtest.h>

#include <map>

namespace {

// A record whose field i holds "f<i>", with the given number of fields.
QString record(int fields) {
    QStringList f;
    for (int i = 0; i < fields; ++i)
        f << QStringLiteral("f%1").arg(i);
    return f.join('|');
}

struct DeskProfileService : ::testing::Test {
    std::map<std::string, std::string> answers; // path -> raw response
    LoopbackHttpServer server{[this](const HttpRequest& r) {
        auto it = answers.find(r.path);
        return it != answers.end() ? it->second : LoopbackHttpServer::response(404, "");
    }};
    FormUnderTest t{QString::fromStdString(server.base())};

    std::vector<HttpRequest> posts() const {
        std::vector<HttpRequest> out;
        for (const auto& r : server.requests())
            if (r.method == "POST") out.push_back(r);
        return out;
    }
};

} // namespace

TEST(DeskProfileAnswer, TakesFieldsOneToThirtyFourFromAtLeastThirtyFiveFields) {
    TCompanyProfile p;
    p.id = "stored";
    p.name = "before";
    EXPECT_FALSE(applyProfileAnswer(record(34), p));
    EXPECT_EQ(p.name, "before");
    EXPECT_TRUE(p.date_created.isEmpty());

    EXPECT_TRUE(applyProfileAnswer(record(35), p));
    EXPECT_EQ(p.id, "stored"); // never from the answer
    EXPECT_EQ(p.date_created, "f1");
    EXPECT_EQ(p.name, "f3");
    EXPECT_EQ(p.lang, "f4");
    EXPECT_EQ(p.ip, "f5");
    EXPECT_EQ(p.text2d, "f9");
    EXPECT_EQ(p.size1, "f10");
    EXPECT_EQ(p.qrcolor, "f15");
    EXPECT_EQ(p.text1, "f16");
    EXPECT_EQ(p.text6, "f21");
    EXPECT_EQ(p.text4www, "f25");
    EXPECT_EQ(p.text6www, "f27");
    EXPECT_EQ(p.textwww, "f28");
    EXPECT_EQ(p.email, "f29");
    EXPECT_EQ(p.output, "f32");
    EXPECT_EQ(p.specialsql, "f33");
    EXPECT_EQ(p.specialpath, "f34");

    QString longer = record(36);
    longer.replace("f34", "path");
    EXPECT_TRUE(applyProfileAnswer(longer, p));
    EXPECT_EQ(p.specialpath, "path");
}

TEST(DeskProfileAnswer, TwoLinesAreOneRecordThreeLinesUseTheFirst) {
    // The last field holds one line break: two lines joined without a separator.
    QString body = record(35);
    body.replace("f34", "1,2\r\n,3");
    TCompanyProfile p;
    EXPECT_TRUE(applyProfileAnswer(body, p));
    EXPECT_EQ(p.specialpath, "1,2,3");

    // A first line of 20 fields and a second of 15 make one record of 34 fields.
    TCompanyProfile q;
    EXPECT_FALSE(applyProfileAnswer(record(20) + "\n" + record(15), q));
    EXPECT_TRUE(applyProfileAnswer(record(20) + "\n" + record(16), q));

    TCompanyProfile r;
    EXPECT_TRUE(applyProfileAnswer(record(35) + "\nsecond\nthird", r));
    EXPECT_EQ(r.specialpath, "f34");
    TCompanyProfile s;
    EXPECT_FALSE(applyProfileAnswer("a|b\r\n", s)); // readable but too short
}

TEST(DeskProfileAnswer, CompletenessNeedsIdDateNameAndTheFirstTwoOptions) {
    TCompanyProfile p;
    p.id = "1";
    p.date_created = "2024-01-01";
    p.name = "n";
    p.text1 = "a";
    EXPECT_FALSE(profileComplete(p));
    p.text2 = "b";
    EXPECT_TRUE(profileComplete(p));
    p.id.clear();
    EXPECT_FALSE(profileComplete(p));
}

TEST(DeskProfileRequests, ReadParametersAreIdTokenThenFlags) {
    const WebParams params = profileReadParams("12");
    ASSERT_EQ(params.size(), 34u);
    EXPECT_EQ(params[0], (std::pair<QString, QString>{"id", "12"}));
    EXPECT_EQ(params[1], (std::pair<QString, QString>{"token", "MarwenoDelsip"}));
    EXPECT_EQ(params[2].first, "date_created");
    EXPECT_EQ(params[22].first, "text1www");
    EXPECT_EQ(params[33], (std::pair<QString, QString>{"specialpath", "1"}));
}

TEST_F(DeskProfileService, ReadFillsTheProfileAndMarksACompleteOneComplete) {
    QString body = record(35);
    body.replace("f16", "Call").replace("f17", "Pay");
    answers["/readsqlx.php"] = LoopbackHttpServer::response(200, body.toStdString());
    answers["/writesql.php"] = LoopbackHttpServer::response(200, "ok");
    t.form->profile().id = "4711";
    t.form->citajsqlx("4711");
    EXPECT_EQ(t.form->profile().name, "f3");
    EXPECT_EQ(t.form->profile().text1, "Call");
    const auto reqs = server.requests();
    ASSERT_EQ(reqs.size(), 2u);
    EXPECT_EQ(reqs[0].query.substr(0, 45), "id=4711&token=MarwenoDelsip&date_created=1&na");
    EXPECT_EQ(reqs[1].body, "id=4711&completed=1&token=MarwenoDelsip");
    EXPECT_TRUE(t.messages.entries().empty());
}

TEST_F(DeskProfileService, AFailedReadKeepsTheProfileAndStillAppliesTheRule) {
    answers["/writesql.php"] = LoopbackHttpServer::response(200, "ok");
    TCompanyProfile& p = t.form->profile();
    p.id = "9";
    p.date_created = "2024-05-01";
    p.name = "Kept";
    p.text1 = "one";
    p.text2 = "two";
    t.form->citajsqlx("9"); // the read answers 404
    EXPECT_EQ(p.name, "Kept");
    ASSERT_EQ(posts().size(), 1u);
    EXPECT_EQ(posts()[0].body, "id=9&completed=1&token=MarwenoDelsip");

    // An incomplete profile is not marked; a too short answer changes nothing.
    p.text2.clear();
    answers["/readsqlx.php"] = LoopbackHttpServer::response(200, record(34).toStdString());
    t.form->citajsqlx("9");
    EXPECT_EQ(p.name, "Kept");
    EXPECT_EQ(posts().size(), 1u);
}

TEST_F(DeskProfileService, FailedMarkCompleteShowsTheWriteMessage) {
    answers["/readsqlx.php"] = LoopbackHttpServer::response(200, record(35).toStdString());
    t.form->profile().id = "9";
    t.form->citajsqlx("9");
    EXPECT_EQ(t.shown(), std::vector<QString>{"Error durring register to Server TABLEPING: "
                                              "HTTP/1.1 404 Not Found"});
}

TEST_F(DeskProfileService, CompletenessQueryFailsOnARedirectWhileLaterReadsFollowThem) {
    answers["/readsqlcompleted.php"] =
        LoopbackHttpServer::response(302, "", "", "Location: /moved/readsqlcompleted.php\r\n");
    answers["/moved/readsqlcompleted.php"] = LoopbackHttpServer::response(200, "{\"completed\":1}");
    EXPECT_FALSE(t.form->citajsqlcompleted("5"));

    answers["/readsqlx.php"] =
        LoopbackHttpServer::response(302, "", "", "Location: /moved/readsqlx.php\r\n");
    answers["/moved/readsqlx.php"] = LoopbackHttpServer::response(200, record(35).toStdString());
    t.form->citajsqlx("5");
    EXPECT_EQ(t.form->profile().name, "f3");

    // Redirects stay on for everything else, but the start-up query never follows.
    EXPECT_FALSE(t.form->citajsqlcompleted("5"));
    answers["/readsqlcompleted.php"] = LoopbackHttpServer::response(200, "[{\"completed\":1}]");
    EXPECT_TRUE(t.form->citajsqlcompleted("5"));
    answers["/readsqlcompleted.php"] = LoopbackHttpServer::response(200, "{\"completed\":0}");
    EXPECT_FALSE(t.form->citajsqlcompleted("5"));
}
