// REGISTER, SAVE ALL and the QR design save against a service on loopback that
// records what the form sends.
#include "form_fixture.h"
#include "loopback_http_server.h"

#include <QDate>
#include <QUrlQuery>

#include <gtest/gtest.h>

namespace {

using Entry = RecordingDeskMessages::Entry;
using Kind = RecordingDeskMessages::Kind;

// Keys and values of a form body, in order.
std::vector<std::pair<QString, QString>> decodeForm(const std::string& body) {
    QString text = QString::fromStdString(body);
    text.replace(QLatin1Char('+'), QLatin1Char(' '));
    std::vector<std::pair<QString, QString>> out;
    for (const QString& pair : text.split(QLatin1Char('&'), Qt::SkipEmptyParts)) {
        const qsizetype eq = pair.indexOf(QLatin1Char('='));
        out.emplace_back(QUrl::fromPercentEncoding(pair.left(eq).toUtf8()),
                         QUrl::fromPercentEncoding(pair.mid(eq + 1).toUtf8()));
    }
    return out;
}

QStringList keysOf(const std::vector<std::pair<QString, QString>>& params) {
    QStringList keys;
    for (const auto& p : params)
        keys << p.first;
    return keys;
}

QString valueOf(const std::vector<std::pair<QString, QString>>& params, const QString& key) {
    for (const auto& p : params)
        if (p.first == key) return p.second;
    return QStringLiteral("<absent>");
}

const QString kAlert = QStringLiteral("         Alert! Missing fields Company ID or Email ! !!   ");
const QString kWriteError = QStringLiteral("Error durring register to Server TABLEPING: ");

struct DeskFormRequests : ::testing::Test {
    int status = 200;
    LoopbackHttpServer server{
        [this](const HttpRequest&) { return LoopbackHttpServer::response(status, "OK"); }};
    FormUnderTest t{QString::fromStdString(server.base())};

    std::vector<std::pair<QString, QString>> lastPost() {
        const auto reqs = server.requests();
        if (reqs.empty() || reqs.back().method != "POST") return {};
        EXPECT_EQ(reqs.back().path, "/writesql.php");
        return decodeForm(reqs.back().body);
    }

    void fillRegistration(const QString& id, const QString& email) {
        t.ui().LabeledEdit1->setText(id);
        t.ui().LabeledEdit14->setText(email);
    }
};

} // namespace

TEST_F(DeskFormRequests, CheckForm1JudgesIdThenEmail) {
    const QString idMsg =
        QStringLiteral("ID - Company number must be filled in  !!! Its your Company ID number. ");
    const QString mailMsg =
        QStringLiteral("EMAIL - Your email must be filled in  !!! Its your Email address. ");
    struct Case {
        QString id, email, message;
    } cases[] = {
        {"12345", "a@b.sk", ""},
        {"1234", "a@b.sk", idMsg},
        {"9999999999", "a@b.sk", idMsg},
        {" 9999999999", "a@b.sk", idMsg},
        {"     ", "a@b.sk", idMsg}, // blanks only: would loop back into registration
        {"1234", "x", idMsg},       // the e-mail is not looked at then
        {"12345", "a@b", mailMsg},  // four characters
        {"12345", " your.name@example.com ", mailMsg},
    };
    for (const auto& c : cases) {
        t.messages.clear();
        fillRegistration(c.id, c.email);
        EXPECT_EQ(t.form->checkform1(), c.message.isEmpty()) << c.id.toStdString();
        if (c.message.isEmpty())
            EXPECT_TRUE(t.messages.entries().empty());
        else
            EXPECT_EQ(t.shown(), std::vector<QString>{c.message}) << c.id.toStdString();
    }
}

TEST_F(DeskFormRequests, RegisterWithMissingFieldsSendsNothing) {
    t.form->Button3Click(); // the form's placeholders are still there
    ASSERT_EQ(t.messages.entries().size(), 2u);
    const Entry& box = t.messages.entries()[1];
    EXPECT_EQ(box.kind, Kind::Box);
    EXPECT_EQ(box.text, kAlert);
    EXPECT_EQ(box.caption, "Erro message");
    EXPECT_EQ(box.icon, MessageIcon::Warning);
    EXPECT_TRUE(server.requests().empty());
    EXPECT_FALSE(t.store.exists());
}

TEST_F(DeskFormRequests, RegisterWritesTheStoreOnceAndTheWholeProfileInOrder) {
    fillRegistration("123456", "boss@bistro.sk");
    t.ui().CL->setCurrentIndex(0); // SK
    t.ui().LabeledEdit2->setText("Bistro & Co");
    t.ui().Cb2->setCurrentIndex(-1);
    t.ui().ComboBox5->setCurrentIndex(1);
    t.ui().LabeledEdit3->setText("192.168.1.50");
    t.form->profile().textwww = "Secret-123";
    t.form->Button3Click();

    EXPECT_EQ(t.shown(), std::vector<QString>{"Saved OK"});
    EXPECT_EQ(t.store.read("ID").value_or(""), "123456");
    EXPECT_EQ(t.store.read("lang").value_or(""), "SK");
    EXPECT_EQ(t.store.read("Email").value_or(""), "boss@bistro.sk");

    const auto post = lastPost();
    EXPECT_EQ(keysOf(post),
              QString("id token date_created date_updated name lang email ip size1 text1u text2u "
                      "size2 size3 text1d text2d size4 size5 qrcolor output text1 text2 text3 "
                      "text4 text5 text6 text4www text5www text6www textwww completed specialsql "
                      "specialpath")
                  .split(' '));
    const QString today = QDate::currentDate().toString("yyyy-MM-dd");
    EXPECT_EQ(valueOf(post, "token"), "MarwenoDelsip");
    EXPECT_EQ(valueOf(post, "date_created"), today);
    EXPECT_EQ(valueOf(post, "date_updated"), today);
    EXPECT_EQ(valueOf(post, "name"), "Bistro & Co");
    EXPECT_EQ(valueOf(post, "lang"), "SK");
    EXPECT_EQ(valueOf(post, "size1"), "3");
    EXPECT_EQ(valueOf(post, "size2"), ""); // no selection
    EXPECT_EQ(valueOf(post, "output"), "2");
    EXPECT_EQ(valueOf(post, "ip"), "192.168.1.50");
    EXPECT_EQ(valueOf(post, "textwww"), "Secret-123");
    EXPECT_EQ(valueOf(post, "completed"), "1");
    EXPECT_EQ(valueOf(post, "text2"), "Please PAY  in CASH - only the complete bill");

    // Registering again with another ID reaches the service, not the store.
    fillRegistration("777777", "boss@bistro.sk");
    t.messages.clear();
    t.form->Button3Click();
    EXPECT_EQ(t.store.read("id").value_or(""), "123456");
    EXPECT_EQ(valueOf(lastPost(), "id"), "777777");
    EXPECT_EQ(t.endCalls, 0);
}

TEST_F(DeskFormRequests, RegisterFailureReportsAndKeepsTheFormOpen) {
    status = 500;
    fillRegistration("123456", "boss@bistro.sk");
    t.form->Button3Click();
    ASSERT_EQ(t.messages.entries().size(), 2u);
    EXPECT_EQ(t.messages.entries()[0].text, kWriteError + "HTTP/1.1 500 Internal Server Error");
    EXPECT_EQ(t.messages.entries()[0].kind, Kind::Message);
    const Entry& box = t.messages.entries()[1];
    EXPECT_EQ(box.text, "         Error,   Check internet connection !!   ");
    EXPECT_EQ(box.caption, "ERROR");
    EXPECT_EQ(box.icon, MessageIcon::Warning);
    EXPECT_EQ(t.endCalls, 0);
}

TEST_F(DeskFormRequests, SaveAllWithAStoredIdLeavesTheStoreAlone) {
    ASSERT_TRUE(t.store.write("111111", "EN", "old@mail.sk"));
    fillRegistration("222222", "new@mail.sk");
    t.form->Button5Click();
    EXPECT_EQ(t.shown(), std::vector<QString>{"Saved OK"});
    EXPECT_EQ(t.store.read("id").value_or(""), "111111");
    EXPECT_EQ(t.store.read("email").value_or(""), "old@mail.sk");
    EXPECT_EQ(valueOf(lastPost(), "id"), "222222");

    status = 404;
    t.messages.clear();
    t.form->Button5Click();
    ASSERT_EQ(t.messages.entries().size(), 2u);
    EXPECT_EQ(t.messages.entries()[0].text, kWriteError + "HTTP/1.1 404 Not Found");
    EXPECT_EQ(t.messages.entries()[1].text,
              "         Pozor! Neexistuje pripojenie na internet !!   ");
    EXPECT_EQ(t.messages.entries()[1].caption, QStringLiteral("POZOR SPRÁVA"));
    EXPECT_EQ(t.messages.entries()[1].icon, MessageIcon::Warning);
}

TEST_F(DeskFormRequests, SaveAllWithoutAStoredIdChecksBeforeRegistering) {
    t.form->Button5Click(); // placeholders only
    EXPECT_FALSE(t.store.exists());
    EXPECT_TRUE(server.requests().empty());
    ASSERT_FALSE(t.messages.entries().empty());
    EXPECT_EQ(t.messages.entries().back().text, kAlert);

    fillRegistration("555555", "a@bistro.sk");
    t.messages.clear();
    t.form->Button5Click();
    EXPECT_EQ(t.shown(), std::vector<QString>{"Saved OK"});
    EXPECT_EQ(t.store.read("id").value_or(""), "555555");
}

TEST_F(DeskFormRequests, QrDesignSaveSendsTheDesignFieldsOnly) {
    t.ui().LabeledEdit2->clear();
    t.form->SpeedButton2Click();
    ASSERT_EQ(t.messages.entries().size(), 1u);
    EXPECT_EQ(t.messages.entries()[0].text, kAlert);
    EXPECT_EQ(t.messages.entries()[0].caption, "Erro message");
    EXPECT_TRUE(server.requests().empty());

    t.messages.clear();
    t.ui().LabeledEdit1->setText("424242");
    t.ui().LabeledEdit2->setText("Pizza");
    t.ui().Cb6->setCurrentIndex(0);
    t.form->SpeedButton2Click();
    EXPECT_EQ(t.shown(), std::vector<QString>{"Saved OK "});
    const auto post = lastPost();
    EXPECT_EQ(keysOf(post), QString("id token name size1 text1u text2u size2 size3 text1d text2d "
                                    "size4 size5 qrcolor")
                                .split(' '));
    EXPECT_EQ(valueOf(post, "qrcolor"), "1");
    EXPECT_EQ(valueOf(post, "id"), "424242");

    status = 500;
    t.messages.clear();
    t.form->SpeedButton2Click();
    EXPECT_EQ(t.shown(), std::vector<QString>{kWriteError + "HTTP/1.1 500 Internal Server Error"});
}

TEST_F(DeskFormRequests, QrListWriteSendsIdListAndToken) {
    EXPECT_TRUE(t.form->zapisstoly("99", "1,3,5..8"));
    EXPECT_EQ(lastPost(),
              (std::vector<std::pair<QString, QString>>{
                  {"id", "99"}, {"specialpath", "1,3,5..8"}, {"token", "MarwenoDelsip"}}));
}
