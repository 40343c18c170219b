// Both tickets from printqr/printcall through prnfeed to the test printer on
// loopback, checked against the ESC/POS bytes the printer must receive.
#include "printing/call_ticket.h"
#include "printing/qr_ticket.h"
#include "printing/script_spool.h"
#include "testprinter_process.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <functional>
#include <memory>

#include <gtest/gtest.h>

namespace {
// ESC/POS bytes written out, so the expectations do not go through the
// script language at all.
const QByteArray kFeed("\x1B\x64\x00\r\n", 5);     // ESC d 0 CR LF
const QByteArray kNormal("\x1B\x21\x00\r", 4);     // ESC ! 0 CR
const QByteArray kDouble("\x1B\x21\x30\r", 4);     // ESC ! 48 CR
const QByteArray kBold("\x1B\x45\r", 3);           // ESC E CR
const QByteArray kTable852("\x1B\x74\x12\r\n", 5); // ESC t 18 CR LF
const QByteArray kCut("\x1B\x69\r\n", 4);          // ESC 105 CR LF: partial cut

QByteArray blanks(int n) {
    return QByteArray(n, ' ');
}
QByteArray text(const QByteArray& bytes) {
    return bytes + "\r\n";
}

QByteArray callticket(const QByteArray& qr, const QByteArray& option45, const QByteArray& stamp) {
    const QByteArray separator = blanks(4) + QByteArray(37, '=') + blanks(4);
    return kTable852 + kNormal + kBold + text(separator) + text("REQUEST .N. : " + qr) +
           text("REQUEST TIME .N. : " + stamp) + kFeed + kBold +
           text("Option: " + option45 + " N.: " + qr) + kFeed + text(separator) + kFeed +
           text(blanks(14) + "WWW.TABLEPING.SK" + blanks(15)) + kFeed + kFeed + kFeed + kFeed +
           kFeed + kNormal + kCut;
}

std::unique_ptr<QCoreApplication> app;

class PrintingTicketsE2E : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        static int argc = 1;
        static char name[] = "tickets_e2e_test";
        static char* argv[] = {name, nullptr};
        if (!QCoreApplication::instance()) app = std::make_unique<QCoreApplication>(argc, argv);
    }
    // Qt must not outlive main().
    static void TearDownTestSuite() { app.reset(); }

    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        record_ = dir_.filePath("record.bin");
        printer_ = std::make_unique<TestprinterProcess>(TESTPRINTER, record_);
        ASSERT_TRUE(printer_->running()) << printer_->error().toStdString();
        profile_.ip = printer_->address();
        profile_.id = "12345";
        settings_.scriptFolder = dir_.filePath("scripts");
        settings_.sendToolPath = PRNFEED;
        settings_.serviceBase = "https://tableping.sk";
        settings_.footer = "WWW.TABLEPING.SK";
    }

    void TearDown() override { printer_.reset(); }

    // Runs the desk's event loop (the spool's timer starts queued prints)
    // until the printer has at least `size` bytes and every script is gone.
    QByteArray received(qsizetype size) {
        QDeadlineTimer deadline(60000);
        QByteArray got;
        for (;;) {
            QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
            got = readall(record_);
            const bool done = got.size() >= size && TScriptSpool::instance().pending().isEmpty();
            if (done || deadline.hasExpired()) break;
            QThread::msleep(5);
        }
        return got;
    }

    static QByteArray readall(const QString& path) {
        QFile f(path);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }

    // The time stamp of the call ticket that starts at `from`.
    static QByteArray stampat(const QByteArray& got, qsizetype from) {
        const QByteArray label = "REQUEST TIME .N. : ";
        const qsizetype start = got.indexOf(label, from);
        if (start < 0) return {};
        const qsizetype end = got.indexOf("\r\n", start);
        return got.mid(start + label.size(), end - start - label.size());
    }

    QTemporaryDir dir_;
    QString record_;
    std::unique_ptr<TestprinterProcess> printer_;
    TCompanyProfile profile_;
    TPrintSettings settings_;
};
} // namespace

TEST_F(PrintingTicketsE2E, CallTicketArrivesAsEscPosWithCodePage852Letters) {
    const QDateTime before = QDateTime::currentDateTime();
    printcall(profile_, "12", QString::fromUtf8("Účet é"), settings_);
    // Ú 233, č 159, é 130 in code page 852; the text centred in 45 columns.
    const QByteArray option = blanks(19) +
                              "\xE9\x9F"
                              "et \x82" +
                              blanks(20);
    const QByteArray shape = callticket("12", option, "");
    const QByteArray got = received(shape.size() + 8);

    const QByteArray stamp = stampat(got, 0);
    EXPECT_EQ(got, callticket("12", option, stamp));
    const QDateTime after = QDateTime::currentDateTime();
    bool known = false;
    for (QDateTime t = before.addSecs(-1); t <= after.addSecs(1); t = t.addSecs(1))
        known = known || ticketstamp(t, QLocale::system()).toUtf8() == stamp;
    EXPECT_TRUE(known) << stamp.constData();
    EXPECT_EQ(QDir(settings_.scriptFolder).entryList(QDir::Files), QStringList());
}

TEST_F(PrintingTicketsE2E, QrTicketArrivesWithTheQrCommands) {
    profile_.name = QString::fromUtf8("Bar \"Kaviareň\"");
    profile_.text1u = "C:\\menu";
    profile_.text2u = "";
    profile_.text1d = "Thank you";
    profile_.text2d = "";
    printqr(profile_, "7", settings_);

    const QByteArray address = "https://tableping.sk/options.php?id=12345&qr=7"; // 46 bytes
    const QByteArray expected =
        kTable852 + kNormal + kDouble + text(blanks(8) + "Bar \"Kaviare\xE5\"" + blanks(8)) +
        kFeed + kBold + kNormal + text(blanks(19) + "C:\\menu" + blanks(19)) + text(blanks(45)) +
        kFeed + kFeed +
        // GS ( k: QR model 2, module size 7, error correction L, each with its CR;
        // the two length bytes count every byte after them
        QByteArray("\x1D(k\x04\x00\x31\x41\x32\x00\r", 10) +
        QByteArray("\x1D(k\x03\x00\x31\x43\x07\r", 9) +
        QByteArray("\x1D(k\x03\x00\x31\x45\x30\r", 9) +
        // store 46 + 3 = 49 bytes of symbol data
        QByteArray("\x1D(k\x31\x00\x31\x50\x30", 8) + address + "\r\n" +
        // ESC $ 170 0, then print the stored symbol
        QByteArray("\x1B$\xAA\x00\r\x1D(k\x03\x00\x31\x51\x30\r\n", 15) + kFeed +
        text(blanks(14) + "WWW.TABLEPING.SK" + blanks(15)) + kFeed + text("") + kDouble +
        text(blanks(10) + "QR: 7") + kFeed + kFeed + kNormal + kBold +
        text(blanks(18) + "Thank you" + blanks(18)) + text(blanks(45)) +
        QByteArray("\x1B\x64\x03\r\n", 5) + kNormal + kCut;
    EXPECT_EQ(received(expected.size()), expected);
}

TEST_F(PrintingTicketsE2E, TwoCallsInQuickSuccessionArriveCompleteAndInOrder) {
    printcall(profile_, "1", "CALL", settings_);
    printcall(profile_, "2", "PAY", settings_);
    const QByteArray one = blanks(20) + "CALL" + blanks(21), two = blanks(21) + "PAY" + blanks(21);
    const qsizetype shape = callticket("1", one, "").size();
    const QByteArray got = received(2 * shape + 16);

    const QByteArray first = callticket("1", one, stampat(got, 0));
    const QByteArray second = callticket("2", two, stampat(got, first.size()));
    EXPECT_EQ(got, first + second);
    EXPECT_EQ(QDir(settings_.scriptFolder).entryList(QDir::Files), QStringList());
}
