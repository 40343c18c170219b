// Whole prints with a real program in the send tool's place: cp receives the
// same two operands as prnfeed and copies the final script to the "target",
// so the test sees exactly what the send tool would have read.
#include "printing/call_ticket.h"
#include "printing/print_error.h"
#include "printing/print_script.h"
#include "printing/qr_ticket.h"
#include "printing/script_converter.h"
#include "printing/script_spool.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QThread>

#include <functional>

#include <gtest/gtest.h>

namespace {
QByteArray readall(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// The copy is done by another process; poll for it, but never for long.
bool waitfor(const std::function<bool()>& done) {
    QDeadlineTimer deadline(20000);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QThread::msleep(5);
    }
    return true;
}

QStringList scriptfiles(const QString& folder) {
    return QDir(folder).entryList({"out-*"}, QDir::Files);
}

class PrintingPrintScript : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        settings_.scriptFolder = dir_.filePath("fresh/scripts"); // does not exist yet
        settings_.sendToolPath = QStandardPaths::findExecutable("cp");
        settings_.serviceBase = "https://tableping.sk";
        settings_.footer = "WWW.TABLEPING.SK";
        ASSERT_FALSE(settings_.sendToolPath.isEmpty());
    }

    QByteArray expected(const QStringList& lines) {
        QByteArray bytes;
        for (qsizetype i = 0; i < lines.size(); ++i)
            bytes += (i < 2 ? lines[i] : convertscriptline(lines[i])).toUtf8() + "\r\n";
        return bytes;
    }

    QByteArray printed(const QString& target, const QByteArray& whole) {
        waitfor([&] { return readall(target).size() >= whole.size(); });
        return readall(target);
    }

    QTemporaryDir dir_;
    TPrintSettings settings_;
};
} // namespace

TEST_F(PrintingPrintScript, SendToolGetsTheConvertedTicketAndItsFilesGoAway) {
    TCompanyProfile profile;
    profile.id = "12345";
    profile.name = "Kaviareň";
    profile.ip = dir_.filePath("printer-qr");
    printqr(profile, "7", settings_);
    const QByteArray whole = expected(qrticket(profile, "7", settings_));
    EXPECT_TRUE(whole.contains("Kaviare\"229\"")) << whole.constData();
    EXPECT_EQ(printed(profile.ip, whole), whole);

    // Only the final script waits for the send tool; once cp has ended it goes.
    EXPECT_EQ(scriptfiles(settings_.scriptFolder).size(), 1);
    EXPECT_TRUE(waitfor([&] {
        TScriptSpool::instance().poll();
        return scriptfiles(settings_.scriptFolder).isEmpty();
    }));
}

TEST_F(PrintingPrintScript, QuickSuccessionNeverRewritesAScriptInFlight) {
    TCompanyProfile profile;
    QList<QByteArray> tickets;
    QStringList scripts;
    for (int i = 1; i <= 3; ++i) {
        profile.ip = dir_.filePath("printer-" + QString::number(i));
        const QStringList lines = callticket(QString::number(i), "Účet", "stamp", "F");
        scripts << printscript(lines, profile.ip, "1", settings_);
        tickets << expected(lines);
    }
    EXPECT_EQ(QSet<QString>(scripts.begin(), scripts.end()).size(), 3);
    for (int i = 1; i <= 3; ++i)
        EXPECT_EQ(printed(dir_.filePath("printer-" + QString::number(i)), tickets[i - 1]),
                  tickets[i - 1]);
}

TEST_F(PrintingPrintScript, PrintCallStampsTheCurrentTime) {
    TCompanyProfile profile;
    profile.ip = dir_.filePath("printer-call");
    printcall(profile, "12", "PAY", settings_);
    QList<QByteArray> lines;
    ASSERT_TRUE(waitfor([&] {
        lines = readall(profile.ip).split('\n');
        return lines.size() == 21; // 20 lines and what follows the last line end
    }));
    EXPECT_TRUE(lines[5].startsWith("\"REQUEST TIME .N. : ")) << lines[5].constData();
    EXPECT_TRUE(lines[5].endsWith("\" CR LF\r")) << lines[5].constData();
    EXPECT_EQ(lines[19], "ESC 105 CR LF\r");
}

TEST_F(PrintingPrintScript, LeftoversOfAnEarlierRunAreRemovedAtTheFirstPrint) {
    ASSERT_TRUE(QDir().mkpath(settings_.scriptFolder));
    const QDir folder(settings_.scriptFolder);
    for (const char* name : {"out-999-1.prn", "out-999-1.txt", "keep.txt"}) {
        QFile f(folder.filePath(name));
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    }
    printscript({"a", "b", "c"}, dir_.filePath("printer"), "1", settings_);
    EXPECT_FALSE(folder.exists("out-999-1.prn"));
    EXPECT_FALSE(folder.exists("out-999-1.txt"));
    EXPECT_TRUE(folder.exists("keep.txt"));
}

TEST_F(PrintingPrintScript, FailuresRaiseThePrintErrorAndLeaveNothingBehind) {
    TPrintSettings missingTool = settings_;
    missingTool.sendToolPath = dir_.filePath("no-prnfeed");
    EXPECT_THROW(printscript({"a"}, "127.0.0.1", "1", missingTool), TPrintError);
    EXPECT_TRUE(scriptfiles(settings_.scriptFolder).isEmpty());

    TPrintSettings noTool = settings_;
    noTool.sendToolPath.clear();
    EXPECT_THROW(printscript({"a"}, "127.0.0.1", "1", noTool), TPrintError);
    EXPECT_TRUE(scriptfiles(settings_.scriptFolder).isEmpty());

    TPrintSettings badFolder = settings_;
    badFolder.scriptFolder = "/dev/null/scripts";
    EXPECT_THROW(printscript({"a"}, "127.0.0.1", "1", badFolder), TPrintError);
    badFolder.scriptFolder.clear();
    EXPECT_THROW(printscript({"a"}, "127.0.0.1", "1", badFolder), TPrintError);
}
