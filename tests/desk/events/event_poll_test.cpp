// The event answer's lines, and one poll's alerts and tickets in the order
// the output mode asks for.
#include "event_list.h"
#include "event_poll.h"
#include "loopback_http_server.h"
#include "web_client.h"

#include <gtest/gtest.h>

#include <stdexcept>

void PrintTo(const TGuestCall& call, std::ostream* os) {
    *os << call.qr.toStdString() << "|" << call.option.toStdString();
}

namespace {

TCompanyProfile englishProfile(const QString& output) {
    TCompanyProfile p;
    p.id = "77";
    p.output = output;
    p.text1 = "CALL";
    p.text2 = "PAY CASH";
    p.text3 = "PAY CARD";
    p.text6 = "Extra";
    p.alertprefix = "Alert ! You have new Message from QR number: ";
    p.alertcaption = "! Message from TPG system !";
    return p;
}

// One poll with a canned answer; alerts, tickets, fetches and profile reads
// go into one log.
std::vector<QString> poll(const TCompanyProfile& profile, const QString& answer,
                          const QString& failingQr = QString(), bool logReads = false) {
    std::vector<QString> log;
    TEventList eventlist{{"stale", "1"}};
    PollSteps steps;
    steps.reread = [&] { log.push_back("reread"); };
    steps.fetch = [&](TEventList& list) {
        if (logReads) log.push_back("fetch");
        return appendevents(answer, list) > 0;
    };
    steps.alert = [&](const QString& text, const QString& caption) {
        log.push_back("alert " + text + " / " + caption);
    };
    steps.ticket = [&](const QString& qr, const QString& text) {
        if (qr == failingQr) throw std::runtime_error("printer script not written");
        log.push_back("ticket " + qr + " " + text);
    };
    steps.error = [&](const QString& message) { log.push_back("error " + message); };
    pollevents(profile, eventlist, steps);
    EXPECT_TRUE(eventlist.isEmpty());
    return log;
}

} // namespace

TEST(DeskEvents, AnswerLinesNeedTwoFieldsAndKeepOnlyTheFirstTwo) {
    TEventList list;
    EXPECT_EQ(appendevents("7|2|x\r\n|3\n12\n\n5|\n8|1", list), 4);
    EXPECT_EQ(list, (TEventList{{"7", "2"}, {"", "3"}, {"5", ""}, {"8", "1"}}));
    TEventList none;
    EXPECT_EQ(appendevents("", none), 0);
    EXPECT_EQ(appendevents("12\n", none), 0);
    EXPECT_TRUE(none.isEmpty());
}

TEST(DeskEvents, AnswerFieldsFollowTheQuotingRule) {
    TEventList list;
    EXPECT_EQ(appendevents("\"12\"|1\n\"1|2\"|3\n\"say \"\"hi\"\"\"|\"4\"|x\n\"\"|5", list), 4);
    EXPECT_EQ(list, (TEventList{{"12", "1"}, {"1|2", "3"}, {"say \"hi\"", "4"}, {"", "5"}}));
    EXPECT_EQ(poll(englishProfile("3"), "\"1|2\"|3\n\"12\"|1\n"),
              (std::vector<QString>{"ticket 1|2 PAY CARD", "ticket 12 CALL"}));
}

// The service hands each call out once: a poll that could deliver none must
// not take any, but read the profile again to learn the output mode.
TEST(DeskEvents, WithoutAnOutputModeTheProfileIsReadInsteadOfTheCalls) {
    for (const QString& output : {QString(), QString("0"), QString("4"), QString(" 2")})
        EXPECT_EQ(poll(englishProfile(output), "1|1\n", {}, true), std::vector<QString>{"reread"})
            << output.toStdString();
    EXPECT_EQ(poll(englishProfile("3"), "1|1\n", {}, true),
              (std::vector<QString>{"fetch", "ticket 1 CALL"}));
}

TEST(DeskEvents, EmptyQrNumbersAreSkippedAndAnEmptyAnswerDoesNothing) {
    EXPECT_EQ(poll(englishProfile("2"), "|3\n12\n"), std::vector<QString>{});
    EXPECT_EQ(poll(englishProfile("2"), ""), std::vector<QString>{});
    EXPECT_EQ(
        poll(englishProfile("1"), "7|2|x\n"),
        std::vector<QString>{"alert Alert ! You have new Message from QR number: 7      PAY CASH / "
                             "! Message from TPG system !"});
}

TEST(DeskEvents, OutputModesOrderAlertsAndTickets) {
    const QString three = "1|1\n2|2\n3|3\n";
    const QString caption = " / ! Message from TPG system !";
    const QString prefix = "alert Alert ! You have new Message from QR number: ";
    EXPECT_EQ(poll(englishProfile("1"), three),
              (std::vector<QString>{prefix + "1      CALL" + caption,
                                    prefix + "2      PAY CASH" + caption,
                                    prefix + "3      PAY CARD" + caption}));
    EXPECT_EQ(poll(englishProfile("2"), three),
              (std::vector<QString>{prefix + "1      CALL" + caption, "ticket 1 CALL",
                                    prefix + "2      PAY CASH" + caption, "ticket 2 PAY CASH",
                                    prefix + "3      PAY CARD" + caption, "ticket 3 PAY CARD"}));
    EXPECT_EQ(poll(englishProfile("3"), three),
              (std::vector<QString>{"ticket 1 CALL", "ticket 2 PAY CASH", "ticket 3 PAY CARD"}));
    EXPECT_EQ(poll(englishProfile("0"), three), std::vector<QString>{"reread"});
    EXPECT_EQ(poll(englishProfile(""), three), std::vector<QString>{"reread"});
}

TEST(DeskEvents, UnknownOptionsAreNamedAndAFailedTicketDoesNotDropTheRest) {
    // An option outside 1-6 does not borrow the previous call's text.
    EXPECT_EQ(poll(englishProfile("3"), "4|1\n5|9\n6|\n7|6\n", "5"),
              (std::vector<QString>{"ticket 4 CALL", "error printer script not written",
                                    "ticket 6 ?", "ticket 7 Extra"}));
}

TEST(DeskEvents, FetchAndClearAskTheServiceForTheCompany) {
    int status = 200;
    LoopbackHttpServer server([&](const HttpRequest& r) {
        if (r.path == "/read_events.php") return LoopbackHttpServer::response(status, "12|1\n");
        return LoopbackHttpServer::response(status, "OK");
    });
    WebClient web({QString::fromStdString(server.base()), {}, true, 5000, 10000});
    TEventList list;
    EXPECT_TRUE(citajevent(web, "A 1", list));
    EXPECT_EQ(list, (TEventList{{"12", "1"}}));
    clearevent(web, "A 1");
    ASSERT_EQ(server.requests().size(), 2u);
    EXPECT_EQ(server.requests()[0].target, "/read_events.php?id=A+1");
    EXPECT_EQ(server.requests()[1].target, "/clear_events.php?id=A+1");

    // A failed fetch is no events; a failed clear is for start-up to report.
    status = 500;
    list.clear();
    EXPECT_FALSE(citajevent(web, "A 1", list));
    EXPECT_TRUE(list.isEmpty());
    EXPECT_THROW(clearevent(web, "A 1"), WebClientError);
}
