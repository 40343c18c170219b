// A guest taps an option on the service's guest page; the desk, started as
// the program starts it and left to its tray timer, shows the alert and the
// ticket comes out of the test printer within one polling period.
#include "desk_clock.h"
#include "desk_config.h"
#include "messages.h"
#include "print_wiring.h"
#include "printing/script_spool.h"
#include "profile_service.h"
#include "qt_test_app.h"
#include "settings_store.h"
#include "testprinter_process.h"
#include "tform1.h"
#include "tform1_controls.h"
#include "tform2.h"
#include "tpgservice_process.h"

#include <QApplication>
#include <QDeadlineTimer>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

namespace {

// The wall clock moved so that the next polling second is about two seconds
// away: the loop is the real one, the test does not wait out a whole period.
class ShiftedClock final : public DeskClock {
public:
    ShiftedClock() {
        const QDateTime now = QDateTime::currentDateTime();
        const qint64 intoPeriod = (now.time().second() % 20) * 1000 + now.time().msec();
        shiftMs_ = (17500 - intoPeriod + 20000) % 20000;
    }
    QDateTime now() const override { return QDateTime::currentDateTime().addMSecs(shiftMs_); }

private:
    qint64 shiftMs_ = 0;
};

QByteArray centred(const QByteArray& text) {
    const qsizetype left = (45 - text.size()) / 2;
    return QByteArray(left, ' ') + text + QByteArray(45 - text.size() - left, ' ');
}

} // namespace

TEST(SystemE2E, GuestCallBecomesAnAlertAndATicket) {
    qtTestApp();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TpgserviceProcess service(QStringLiteral(TPGSERVICE_PATH));
    ASSERT_TRUE(service.running()) << service.error().toStdString();
    TestprinterProcess printer(QStringLiteral(TESTPRINTER), dir.filePath("printer.bin"));
    ASSERT_TRUE(printer.running()) << printer.error().toStdString();

    // The company as the settings form registers it.
    const QString id = "2026";
    WebClient web(service.clientOptions());
    writeProfileParams(web, {{"id", id},
                             {"token", kApiToken},
                             {"date_created", "2026-03-01"},
                             {"name", "Bistro"},
                             {"lang", "EN"},
                             {"ip", printer.address()},
                             {"output", "2"},
                             {"text1", "CALL"},
                             {"text2", "PAY CASH"},
                             {"email", "chef@bistro.sk"},
                             {"completed", "1"}});
    SettingsStore store(dir.filePath("tpg.conf"));
    ASSERT_TRUE(store.write(id, "EN", "chef@bistro.sk"));

    DeskConfig config;
    config.serviceBase = service.base();
    config.caFile = service.certificate();
    config.internetCheckPort = service.port();
    config.scriptFolder = dir.filePath("scripts/");
    config.prnfeedPath = QStringLiteral(PRNFEED);
    config.footerText = "WWW.TABLEPING.SK";
    RecordingDeskMessages messages;
    TForm1 settings(config, messages, store);
    ShiftedClock clock;
    TForm2 desk(settings, messages, clock);
    ASSERT_TRUE(desk.checkinit({"tpgdesk"}));
    desk.traysteps();

    // The guest opens the page of table 12 and taps the first option.
    const QString page = web.get("/options.php", {{"id", id}, {"qr", "12"}});
    ASSERT_TRUE(page.contains("CALL")) << page.toStdString();
    web.get("/options.php", {{"id", id}, {"qr", "12"}, {"option", "1"}});

    const QByteArray option = "Option: " + centred("CALL") + " N.: 12\r\n";
    QDeadlineTimer period(25000); // one polling period and the printing
    QByteArray paper;
    while (!period.hasExpired()) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        paper = printer.received();
        if (!messages.entries().empty() && paper.contains(option) &&
            TScriptSpool::instance().pending().isEmpty())
            break;
        QThread::msleep(20);
    }
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].text,
              "Alert ! You have new Message from QR number: 12      CALL");
    EXPECT_EQ(messages.entries()[0].caption, "! Message from TPG system !");
    EXPECT_TRUE(paper.contains("REQUEST .N. : 12\r\n")) << paper.toStdString();
    EXPECT_TRUE(paper.contains(option)) << paper.toStdString();
    EXPECT_TRUE(paper.endsWith(QByteArray("\x1B\x69\r\n", 4))) << "cut at the end";
    // Handed out once: nothing is pending any more.
    EXPECT_EQ(web.get("/read_events.php", {{"id", id}}), "");
}

TEST(SystemE2E, PrintQrButtonPrintsTheTicketOfTheTypedNumber) {
    qtTestApp();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TestprinterProcess printer(QStringLiteral(TESTPRINTER), dir.filePath("printer.bin"));
    ASSERT_TRUE(printer.running()) << printer.error().toStdString();
    DeskConfig config;
    config.serviceBase = "https://tableping.sk";
    config.scriptFolder = dir.filePath("scripts/");
    config.prnfeedPath = QStringLiteral(PRNFEED);
    RecordingDeskMessages messages;
    SettingsStore store(dir.filePath("tpg.conf"));
    TForm1 form(config, messages, store);
    connectPrintQr(form);
    form.profile().id = "12345";
    form.profile().name = "Bistro";
    form.profile().ip = printer.address();
    form.ui()->cqr->setText("7");
    form.ui()->Button1->click();

    const QByteArray address = "https://tableping.sk/options.php?id=12345&qr=7";
    QDeadlineTimer deadline(20000);
    while (!deadline.hasExpired() && !printer.received().contains("QR: 7")) {
        QApplication::processEvents(QEventLoop::AllEvents, 50);
        QThread::msleep(20);
    }
    EXPECT_TRUE(messages.entries().empty());
    EXPECT_TRUE(printer.received().contains(address));
    EXPECT_TRUE(printer.received().contains("QR: 7"));

    // A send tool that is not there: the standard error message box.
    DeskConfig broken = config;
    broken.prnfeedPath = dir.filePath("no-such-prnfeed");
    TForm1 other(broken, messages, store);
    connectPrintQr(other);
    other.profile() = form.profile();
    other.profile().ip = "127.0.0.1:1"; // not queued behind the first print
    other.ui()->Button1->click();
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].kind, RecordingDeskMessages::Kind::Error);
}
