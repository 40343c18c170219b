// The event answer's lines, and one poll's alerts and tickets in the order
// the output mode asks for.
#include "event_list.h"
#include "event_poll.h"
#include "loopback_http_server.h"
#include "web_client.h"

#include <gtest/gtest.h>

#include <stdexcept>

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

// One poll with a canned answer; alerts and tickets go into one log.
std::vector<QString> poll(const TCompanyProfile& profile, const QString& answer,
                          const QString& failingQr = QString()) {
    std::vector<QString> log;
    QStringList eventlist{"stale|1"};
    PollSteps steps;
    steps.fetch = [&](QStringList& list) { return appendevents(answer, list) > 0; };
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
    QStringList list;
    EXPECT_EQ(appendevents("7|2|x\r\n|3\n12\n\n5|\n8|1", list), 4);
    EXPECT_EQ(list, QStringList({"7|2", "|3", "5|", "8|1"}));
    QStringList none;
    EXPECT_EQ(appendevents("", none), 0);
    EXPECT_EQ(appendevents("12\n", none), 0);
    EXPECT_TRUE(none.isEmpty());
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
    EXPECT_EQ(poll(englishProfile("0"), three), std::vector<QString>{});
    EXPECT_EQ(poll(englishProfile(""), three), std::vector<QString>{});
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
    QStringList list;
    EXPECT_TRUE(citajevent(web, "A 1", list));
    EXPECT_EQ(list, QStringList{"12|1"});
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
