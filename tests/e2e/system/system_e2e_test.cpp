// A guest taps an option on the service's guest page; the desk, started as
// the program starts it and left to its tray timer, shows the alert and the
// ticket comes out of the test printer within one polling period, or, when
// the printer is off, once it is back; a ticket that never goes out is kept
// and the tray says so.
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
#include <QDir>
#include <QProcess>
#include <QTemporaryDir>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

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

// The whole chain on loopback: the service with a registered company whose
// printer is the test printer, and the desk started as the program starts it.
class SystemE2E : public ::testing::Test {
protected:
    void SetUp() override {
        qtTestApp();
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(service.running()) << service.error().toStdString();
        ASSERT_TRUE(printer.running()) << printer.error().toStdString();
    }

    void TearDown() override {
        TScriptSpool::instance().setRetryPauses(TScriptSpool::defaultRetryPauses());
    }

    // The company as the settings form registers it, and the desk started.
    void startdesk(const QString& output) {
        WebClient web(service.clientOptions());
        writeProfileParams(web, {{"id", id},
                                 {"token", kApiToken},
                                 {"date_created", "2026-03-01"},
                                 {"name", "Bistro"},
                                 {"lang", "EN"},
                                 {"ip", printer.address()},
                                 {"output", output},
                                 {"text1", "CALL"},
                                 {"text2", "PAY CASH"},
                                 {"email", "chef@bistro.sk"},
                                 {"completed", "1"}});
        ASSERT_TRUE(store.write(id, "EN", "chef@bistro.sk"));
        DeskConfig config;
        config.serviceBase = service.base();
        config.caFile = service.certificate();
        config.internetCheckPort = service.port();
        config.scriptFolder = dir.filePath("scripts/");
        config.prnfeedPath = QStringLiteral(PRNFEED);
        config.footerText = "WWW.TABLEPING.SK";
        settings = std::make_unique<TForm1>(config, messages, store);
        desk = std::make_unique<TForm2>(*settings, messages, clock);
        desk->balloon = [this](const QString& title, const QString& text, MessageIcon) {
            balloons << title + ": " + text;
        };
        ASSERT_TRUE(desk->checkinit({"tpgdesk"}));
        desk->traysteps();
    }

    // The guest opens the page of a table and taps an option.
    void guestcall(const QString& qr, const QString& option) {
        WebClient web(service.clientOptions());
        const QString page = web.get("/options.php", {{"id", id}, {"qr", qr}});
        ASSERT_TRUE(page.contains("CALL")) << page.toStdString();
        web.get("/options.php", {{"id", id}, {"qr", qr}, {"option", option}});
    }

    // Runs the desk's event loop until `done`, for at most `ms`.
    bool rununtil(const std::function<bool()>& done, int ms) {
        QDeadlineTimer deadline(ms);
        while (!done()) {
            if (deadline.hasExpired()) return false;
            QApplication::processEvents(QEventLoop::AllEvents, 50);
            QThread::msleep(20);
        }
        return true;
    }

    QTemporaryDir dir;
    TpgserviceProcess service{QStringLiteral(TPGSERVICE_PATH)};
    TestprinterProcess printer{QStringLiteral(TESTPRINTER), dir.filePath("printer.bin")};
    const QString id = "2026";
    SettingsStore store{dir.filePath("tpg.conf")};
    RecordingDeskMessages messages;
    ShiftedClock clock;
    std::unique_ptr<TForm1> settings;
    std::unique_ptr<TForm2> desk;
    QStringList balloons;
};

} // namespace

TEST_F(SystemE2E, GuestCallBecomesAnAlertAndATicket) {
    startdesk("2");
    guestcall("12", "1");

    const QByteArray option = "Option: " + centred("CALL") + " N.: 12\r\n";
    QByteArray paper;
    // One polling period and the printing.
    rununtil(
        [&] {
            paper = printer.received();
            return !messages.entries().empty() && paper.contains(option) &&
                   TScriptSpool::instance().pending().isEmpty();
        },
        25000);
    ASSERT_EQ(messages.entries().size(), 1u);
    EXPECT_EQ(messages.entries()[0].text,
              "Alert ! You have new Message from QR number: 12      CALL");
    EXPECT_EQ(messages.entries()[0].caption, "! Message from TPG system !");
    EXPECT_TRUE(paper.contains("REQUEST .N. : 12\r\n")) << paper.toStdString();
    EXPECT_TRUE(paper.contains(option)) << paper.toStdString();
    EXPECT_TRUE(paper.endsWith(QByteArray("\x1B\x69\r\n", 4))) << "cut at the end";
    // Handed out once: nothing is pending any more.
    WebClient web(service.clientOptions());
    EXPECT_EQ(web.get("/read_events.php", {{"id", id}}), "");
}

// The printer is off when the call comes: the ticket is tried again and comes
// out once the printer is back.
TEST_F(SystemE2E, ACallIsPrintedWhenThePrinterComesBack) {
    TScriptSpool& spool = TScriptSpool::instance();
    spool.setRetryPauses({500, 500, 500, 500, 500, 500});
    printer.switchoff();
    startdesk("3");
    const int before = spool.failedTries();
    guestcall("12", "1");
    ASSERT_TRUE(rununtil([&] { return spool.failedTries() > before; }, 25000))
        << "prnfeed did not fail on a printer that is off";
    ASSERT_TRUE(printer.switchon()) << printer.error().toStdString();

    const QByteArray option = "Option: " + centred("CALL") + " N.: 12\r\n";
    EXPECT_TRUE(rununtil(
        [&] { return printer.received().contains(option) && spool.pending().isEmpty(); }, 20000));
    EXPECT_TRUE(printer.received().endsWith(QByteArray("\x1B\x69\r\n", 4)));
    EXPECT_TRUE(balloons.filter("Ticket not printed").isEmpty())
        << balloons.join('\n').toStdString();
    EXPECT_FALSE(QDir(dir.filePath("scripts/failed")).exists());
}

// The printer never comes back: the ticket is kept in "failed", the tray says
// so, and the kept script prints later with prnfeed as it is.
TEST_F(SystemE2E, ACallIsKeptWithATrayMessageWhenThePrinterNeverComesBack) {
    TScriptSpool::instance().setRetryPauses({100, 200});
    printer.switchoff();
    startdesk("3");
    guestcall("13", "2");
    ASSERT_TRUE(rununtil([&] { return !balloons.filter("Ticket not printed").isEmpty(); }, 30000))
        << balloons.join('\n').toStdString();
    EXPECT_TRUE(TScriptSpool::instance().pending().isEmpty());

    const QStringList kept = QDir(dir.filePath("scripts/failed")).entryList(QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    const QString path = dir.filePath("scripts/failed/" + kept[0]);
    const QString message = balloons.filter("Ticket not printed").first();
    EXPECT_TRUE(message.contains("table 13")) << message.toStdString();
    EXPECT_TRUE(message.contains(printer.address())) << message.toStdString();
    EXPECT_TRUE(message.contains(path)) << message.toStdString();
    EXPECT_TRUE(message.contains("exit code 13")) << message.toStdString();

    // As the README says: prnfeed with the kept script and the printer.
    ASSERT_TRUE(printer.switchon()) << printer.error().toStdString();
    QProcess prnfeed;
    prnfeed.start(QStringLiteral(PRNFEED), {path, printer.address()});
    ASSERT_TRUE(prnfeed.waitForFinished(30000));
    EXPECT_EQ(prnfeed.exitCode(), 0);
    EXPECT_TRUE(printer.received().contains("Option: " + centred("PAY CASH") + " N.: 13\r\n"))
        << printer.received().toStdString();
}

TEST_F(SystemE2E, PrintQrButtonPrintsTheTicketOfTheTypedNumber) {
    DeskConfig config;
    config.serviceBase = "https://tableping.sk";
    config.scriptFolder = dir.filePath("scripts/");
    config.prnfeedPath = QStringLiteral(PRNFEED);
    TForm1 form(config, messages, store);
    connectPrintQr(form);
    form.profile().id = "12345";
    form.profile().name = "Bistro";
    form.profile().ip = printer.address();
    form.ui()->cqr->setText("7");
    form.ui()->Button1->click();

    const QByteArray address = "https://tableping.sk/options.php?id=12345&qr=7";
    rununtil([&] { return printer.received().contains("QR: 7"); }, 20000);
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
