// Start-up and the service loop against tpgservice on loopback: the command
// line, registration and completion, the tick rule, one poll at a time, and
// the alerts in the profile's language.
#include "desk_clock.h"
#include "form_fixture.h"
#include "profile_service.h"
#include "qt_test_app.h"
#include "tform2.h"
#include "tpgservice_process.h"

#include <QApplication>
#include <QTcpServer>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

namespace {

class ManualClock final : public DeskClock {
public:
    QDateTime now() const override { return now_; }
    void set(const QString& time) {
        now_ = QDateTime(QDate(2026, 3, 2), QTime::fromString(time, "hh:mm:ss.zzz"));
    }

private:
    QDateTime now_ = QDateTime(QDate(2026, 3, 2), QTime(11, 59, 59));
};

// The alert box runs `during` while it is open, as the tray timer does
// under a modal box; everything is recorded.
class AlertMessages final : public DeskMessages {
public:
    explicit AlertMessages(RecordingDeskMessages& record) : record_(record) {}
    void showMessage(const QString& text) override { record_.showMessage(text); }
    void messageBox(const QString& text, const QString& caption, MessageIcon icon) override {
        record_.messageBox(text, caption, icon);
        if (during) std::exchange(during, nullptr)();
    }
    void showError(const QString& message) override { record_.showError(message); }
    std::optional<QString> inputBox(const QString& c, const QString& p, const QString& i) override {
        return record_.inputBox(c, p, i);
    }
    std::function<void()> during;

private:
    RecordingDeskMessages& record_;
};

class DeskTray : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        qtTestApp();
        service = std::make_unique<TpgserviceProcess>(QStringLiteral(TPGSERVICE_PATH));
    }
    static void TearDownTestSuite() { service.reset(); }

    void SetUp() override {
        ASSERT_TRUE(service->running()) << service->error().toStdString();
        web = std::make_unique<WebClient>(service->clientOptions());
        id = QString::number(++serial + 500000);
        form2 = std::make_unique<TForm2>(*t.form, alerts, clock);
        form2->showSettings = [this](TForm1& f) {
            shownCaptions << f.windowTitle();
            if (endInSettings) f.endApplication();
        };
        form2->printTicket = [this](const QString& qr, const QString& text) {
            tickets << QString::number(t.messages.entries().size()) + ":" + qr + " " + text;
        };
    }

    // The company on the service and, unless `stored` is false, its ID in
    // the settings store.
    void registerCompany(const QString& output, bool complete = true, const QString& lang = "EN",
                         bool stored = true) {
        WebParams p{{"id", id},
                    {"token", kApiToken},
                    {"name", "Bistro"},
                    {"lang", lang},
                    {"output", output},
                    {"text1", "CALL"},
                    {"text2", "PAY CASH"},
                    {"text3", "PAY CARD"},
                    {"date_created", "2026-03-01"},
                    {"email", "a@b.sk"}};
        if (complete) p.emplace_back("completed", "1");
        writeProfileParams(*web, p);
        if (stored) {
            ASSERT_TRUE(t.store.write(id, lang, "a@b.sk"));
        }
    }

    // A guest taps option `option` on the guest page of table `qr`.
    void guestCall(const QString& qr, const QString& option) {
        web->get("/options.php", {{"id", id}, {"qr", qr}});
        web->get("/options.php", {{"id", id}, {"qr", qr}, {"option", option}});
    }
    QString pending() { return web->get("/read_events.php", {{"id", id}}); }

    std::vector<QString> alertTexts() const {
        std::vector<QString> out;
        for (const auto& e : t.messages.entries())
            if (e.kind == RecordingDeskMessages::Kind::Box) out.push_back(e.text);
        return out;
    }

    static std::unique_ptr<TpgserviceProcess> service;
    static int serial;
    FormUnderTest t{service->base(), service->certificate()};
    AlertMessages alerts{t.messages};
    ManualClock clock;
    std::unique_ptr<WebClient> web;
    std::unique_ptr<TForm2> form2;
    QString id;
    QStringList shownCaptions, tickets;
    bool endInSettings = false;
};

std::unique_ptr<TpgserviceProcess> DeskTray::service;
int DeskTray::serial = 0;

const QString kPrefix = "Alert ! You have new Message from QR number: ";

} // namespace

TEST_F(DeskTray, ClearRegisterNeedsTheRightPassword) {
    registerCompany("1");
    EXPECT_FALSE(form2->checkinit({"tpgdesk", "/CLEARREGISTER", "Vintor58"}));
    EXPECT_EQ(t.shown(), std::vector<QString>{QStringLiteral("Register bol úspešne vymazaný.")});
    EXPECT_FALSE(t.store.read("id").has_value());
    EXPECT_FALSE(form2->gateOpen());

    // A wrong or missing password is a normal start.
    for (const QStringList& args : {QStringList{"tpgdesk", "/CLEARREGISTER", "vintor58"},
                                    QStringList{"tpgdesk", "/CLEARREGISTER"}}) {
        ++serial;
        id = QString::number(serial + 500000);
        registerCompany("1");
        t.messages.clear();
        TForm2 again(*t.form, alerts, clock);
        again.showSettings = form2->showSettings;
        EXPECT_TRUE(again.checkinit(args)) << args.join(' ').toStdString();
        EXPECT_TRUE(again.gateOpen());
        EXPECT_EQ(t.store.read("id").value_or(""), id);
        EXPECT_TRUE(t.messages.entries().empty());
    }
    EXPECT_TRUE(shownCaptions.isEmpty());
}

TEST_F(DeskTray, SetOpensTheSettingsFormAndOnlyInUpperCase) {
    registerCompany("1");
    EXPECT_TRUE(form2->checkinit({"tpgdesk", "/set"}));
    EXPECT_TRUE(shownCaptions.isEmpty());

    TForm2 set(*t.form, alerts, clock);
    set.showSettings = form2->showSettings;
    EXPECT_TRUE(set.checkinit({"tpgdesk", "/SET"}));
    EXPECT_EQ(shownCaptions, QStringList{"Setting parameres"});
    EXPECT_EQ(t.ui().LabeledEdit2->text(), "Bistro");

    // EXIT in the settings form ends the application before serving.
    endInSettings = true;
    TForm2 exited(*t.form, alerts, clock);
    exited.showSettings = form2->showSettings;
    EXPECT_FALSE(exited.checkinit({"tpgdesk", "/SET"}));
    EXPECT_FALSE(exited.gateOpen());
}

TEST_F(DeskTray, NoStoredIdShowsOnlyTheRegistrationFormAndNeverPolls) {
    registerCompany("1", true, "EN", false);
    guestCall("3", "1");
    EXPECT_FALSE(form2->checkinit({"tpgdesk"}));
    EXPECT_EQ(shownCaptions.size(), 1);
    EXPECT_TRUE(t.messages.entries().empty());
    clock.set("12:00:20.100");
    form2->Tr1Animate();
    EXPECT_EQ(pending(), "3|1\n");
}

TEST_F(DeskTray, AnIncompleteProfileOpensTheCompletionForm) {
    registerCompany("2", false);
    EXPECT_FALSE(form2->checkinit({"tpgdesk"}));
    EXPECT_EQ(shownCaptions.size(), 1);
    EXPECT_EQ(t.ui().LabeledEdit1->text(), id);
    EXPECT_EQ(t.ui().LabeledEdit14->text(), "a@b.sk");
    EXPECT_EQ(t.ui().LabeledEdit2->text(), "Bistro");
    EXPECT_FALSE(form2->gateOpen());
}

TEST_F(DeskTray, NoConnectionToTheServiceEndsStartUp) {
    QTcpServer closed;
    ASSERT_TRUE(closed.listen(QHostAddress::LocalHost));
    const quint16 port = closed.serverPort();
    closed.close(); // nobody listens there now
    FormUnderTest offline(QStringLiteral("https://127.0.0.1:%1").arg(port));
    TForm2 desk(*offline.form, offline.messages, clock);
    EXPECT_FALSE(desk.isInternet());
    EXPECT_FALSE(desk.checkinit({"tpgdesk"}));
    ASSERT_EQ(offline.messages.entries().size(), 1u);
    const auto& box = offline.messages.entries()[0];
    EXPECT_EQ(box.text, "    Pozor! Neexistuje pripojenie k internetu !!!");
    EXPECT_EQ(box.caption, QStringLiteral("POZOR CHYBOVÁ SPRÁVA"));
    EXPECT_EQ(box.icon, MessageIcon::Error);
    EXPECT_TRUE(form2->isInternet());
}

TEST_F(DeskTray, TicksPollAtSecondsZeroTwentyFortyOnceTheGateIsOpen) {
    registerCompany("1");
    guestCall("4", "2");
    // Calls made before start-up are dropped by it.
    clock.set("12:00:20.100");
    form2->Tr1Animate();
    EXPECT_TRUE(alertTexts().empty()) << "the gate is closed before start-up";
    ASSERT_TRUE(form2->checkinit({"tpgdesk"}));
    EXPECT_EQ(pending(), "");

    guestCall("12", "1");
    clock.set("12:00:19.900");
    form2->Tr1Animate();
    EXPECT_TRUE(alertTexts().empty());
    clock.set("12:00:20.100");
    form2->Tr1Animate();
    EXPECT_EQ(alertTexts(), std::vector<QString>{kPrefix + "12      CALL"});
    guestCall("5", "3");
    clock.set("12:00:20.850");
    form2->Tr1Animate();
    EXPECT_EQ(alertTexts(),
              (std::vector<QString>{kPrefix + "12      CALL", kPrefix + "5      PAY CARD"}));
    const auto& box = t.messages.entries().back();
    EXPECT_EQ(box.caption, "! Message from TPG system !");
    EXPECT_EQ(box.icon, MessageIcon::Warning);
    EXPECT_TRUE(form2->eventlist().isEmpty());
}

TEST_F(DeskTray, OutputModeTwoAlertsThenPrintsEachCall) {
    registerCompany("2");
    ASSERT_TRUE(form2->checkinit({"tpgdesk"}));
    guestCall("1", "1");
    guestCall("2", "2");
    guestCall("3", "3");
    clock.set("12:01:00.300");
    form2->Tr1Animate();
    EXPECT_EQ(alertTexts(),
              (std::vector<QString>{kPrefix + "1      CALL", kPrefix + "2      PAY CASH",
                                    kPrefix + "3      PAY CARD"}));
    // Each ticket after its own alert and before the next one.
    EXPECT_EQ(tickets, QStringList({"1:1 CALL", "2:2 PAY CASH", "3:3 PAY CARD"}));
}

TEST_F(DeskTray, AlertTextsFollowTheProfilesLanguage) {
    registerCompany("1", true, "SK");
    ASSERT_TRUE(form2->checkinit({"tpgdesk"}));
    guestCall("9", "2");
    clock.set("12:00:40.000");
    form2->Tr1Animate();
    ASSERT_EQ(t.messages.entries().size(), 1u);
    EXPECT_EQ(t.messages.entries()[0].text, t.form->profile().alertprefix + "9      PAY CASH");
    EXPECT_FALSE(t.form->profile().alertprefix.isEmpty());
    EXPECT_NE(t.form->profile().alertprefix, kPrefix);
}

TEST_F(DeskTray, ATickDuringAnOpenAlertDoesNotPoll) {
    registerCompany("2");
    ASSERT_TRUE(form2->checkinit({"tpgdesk"}));
    guestCall("1", "1");
    guestCall("2", "2");
    clock.set("12:00:00.100");
    TEventList during;
    alerts.during = [&] {
        // Twenty seconds later, the first box still open; a new call waits.
        guestCall("3", "3");
        clock.set("12:00:20.100");
        form2->Tr1Animate();
        during = form2->eventlist();
        EXPECT_TRUE(form2->polling());
    };
    form2->Tr1Animate();
    EXPECT_EQ(during, (TEventList{{"1", "1"}, {"2", "2"}}));
    EXPECT_EQ(tickets, QStringList({"1:1 CALL", "2:2 PAY CASH"}));
    EXPECT_FALSE(form2->polling());
    // The next poll picks the waiting call up.
    clock.set("12:00:40.000");
    form2->Tr1Animate();
    EXPECT_EQ(tickets, QStringList({"1:1 CALL", "2:2 PAY CASH", "3:3 PAY CARD"}));
}

// A profile without an output mode (a read that failed at start-up, or none
// chosen) must not make the loop take the calls it cannot deliver.
TEST_F(DeskTray, CallsWaitUntilTheProfileNamesAnOutputMode) {
    registerCompany("");
    ASSERT_TRUE(form2->checkinit({"tpgdesk"}));
    guestCall("3", "1");
    clock.set("12:00:20.100");
    form2->Tr1Animate();
    EXPECT_TRUE(alertTexts().empty());

    // The call is still there for the poll after the profile names a mode.
    writeProfileParams(*web, {{"id", id}, {"token", kApiToken}, {"output", "2"}});
    clock.set("12:00:40.100");
    form2->Tr1Animate(); // reads the profile again
    EXPECT_EQ(t.form->profile().output, "2");
    clock.set("12:01:00.100");
    form2->Tr1Animate();
    EXPECT_EQ(alertTexts(), std::vector<QString>{kPrefix + "3      CALL"});
    EXPECT_EQ(tickets, QStringList({"1:3 CALL"}));
    EXPECT_EQ(pending(), "");
}

TEST_F(DeskTray, TheLoopRunsWithoutATrayIcon) {
    registerCompany("1");
    ASSERT_TRUE(form2->checkinit({"tpgdesk"}));
    QStringList balloons;
    form2->balloon = [&](const QString& title, const QString& text, MessageIcon) {
        balloons << title + "|" + text;
    };
    form2->traysteps();
    // The balloon, empty, is asked for at program entry and by "Minmize".
    EXPECT_EQ(balloons, QStringList{"|"});
    form2->BitBtn1Click();
    EXPECT_EQ(balloons, QStringList({"|", "|"}));
    EXPECT_FALSE(form2->hasTrayIcon()); // offscreen: no notification area
    EXPECT_TRUE(form2->animationTimer().isActive());
    EXPECT_EQ(form2->animationTimer().interval(), 750);
    EXPECT_FALSE(form2->isVisible());
}

// Without a notification area a balloon with something to say comes as a
// box, once the caller has returned; the empty one shows nothing.
TEST_F(DeskTray, WithoutATrayABalloonThatSaysSomethingIsABox) {
    form2->balloon(QString(), QString(), MessageIcon::Information);
    form2->balloon("Ticket not printed", "The ticket for table 12 ...", MessageIcon::Warning);
    EXPECT_TRUE(t.messages.entries().empty());
    QApplication::processEvents();
    ASSERT_EQ(t.messages.entries().size(), 1u);
    EXPECT_EQ(t.messages.entries()[0].caption, "Ticket not printed");
    EXPECT_EQ(t.messages.entries()[0].text, "The ticket for table 12 ...");
    EXPECT_EQ(t.messages.entries()[0].icon, MessageIcon::Warning);
}
