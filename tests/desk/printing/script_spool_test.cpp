// Prints for one target go out one after the other and in order; prints for
// different targets do not wait for each other. A print that fails is tried
// again, ahead of the later prints of its printer, and kept when it never
// goes out; a send tool that hangs is ended first.
#include "printing/child_process.h"
#include "printing/script_spool.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>

#include <functional>
#include <vector>

#include <gtest/gtest.h>

namespace {
QByteArray readall(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

bool waitfor(const std::function<bool()>& done) {
    QDeadlineTimer deadline(20000);
    while (!done()) {
        if (deadline.hasExpired()) return false;
        QThread::msleep(5);
    }
    return true;
}

// Polls the spool (no event loop runs here) until `done`.
bool pollfor(TScriptSpool& spool, const std::function<bool()>& done) {
    return waitfor([&] {
        spool.poll();
        return done();
    });
}

void touch(const QString& path) {
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
}

QString script(TScriptSpool& spool, const QString& folder, const QByteArray& content) {
    const TScriptFiles files = spool.reserve(folder);
    QFile f(files.converted);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(content);
    return files.converted;
}
} // namespace

TEST(PrintingScriptSpool, OneTargetAtATimeInOrder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    TScriptSpool spool;
    const QString printer = dir.filePath("printer"), other = dir.filePath("other");
    QByteArray all;
    for (int i = 0; i < 5; ++i) {
        const QByteArray ticket = "ticket " + QByteArray::number(i) + "\n" + QByteArray(2000, 'x');
        spool.submit(APPEND_TOOL, script(spool, dir.path(), ticket), printer);
        all += ticket;
    }
    // Only the first runs; another target is not held up by them.
    spool.submit(APPEND_TOOL, script(spool, dir.path(), "other"), other);
    EXPECT_TRUE(waitfor([&] { return readall(other) == "other"; }));

    EXPECT_TRUE(waitfor([&] {
        spool.poll();
        return spool.pending().isEmpty();
    }));
    EXPECT_EQ(readall(printer), all);
    EXPECT_EQ(QDir(dir.path()).entryList({"out-*"}, QDir::Files), QStringList());
}

TEST(PrintingScriptSpool, WaitingPrintsStartWhenTheDeskEnds) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString printer = dir.filePath("printer");
    {
        TScriptSpool spool;
        spool.submit(APPEND_TOOL, script(spool, dir.path(), "first\n"), printer);
        spool.submit(APPEND_TOOL, script(spool, dir.path(), "second\n"), printer);
        EXPECT_EQ(spool.pending().size(), 2);
    }
    EXPECT_TRUE(waitfor([&] {
        const QByteArray got = readall(printer);
        return got.contains("first") && got.contains("second");
    }));
    // The second waited for the first: no copy ran over another.
    EXPECT_EQ(readall(printer), "first\nsecond\n");
}

// Printer off: the first ticket is tried again after its pauses while the
// second waits behind it; once the printer is back both come out in order.
TEST(PrintingScriptSpool, AFailedPrintIsTriedAgainAheadOfTheNext) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString printer = dir.filePath("printer");
    touch(printer + ".off");
    TScriptSpool spool;
    spool.setRetryPauses({10, 300, 10, 10, 10});
    std::vector<TFailedPrint> given;
    spool.setFailureHandler(&given, [&](const TFailedPrint& f) { given.push_back(f); });
    spool.submit(APPEND_TOOL, script(spool, dir.path(), "first\n"), printer, "1");
    spool.submit(APPEND_TOOL, script(spool, dir.path(), "second\n"), printer, "2");
    ASSERT_TRUE(pollfor(spool, [&] { return spool.failedTries() >= 2; }));
    EXPECT_FALSE(readall(printer + ".runs").contains("second")) << "the second started too early";

    QFile::remove(printer + ".off"); // the printer is back
    ASSERT_TRUE(pollfor(spool, [&] { return spool.pending().isEmpty(); }));
    EXPECT_EQ(readall(printer), "first\nsecond\n");
    EXPECT_TRUE(given.empty());
    EXPECT_EQ(QDir(dir.path()).entryList({"out-*"}, QDir::Files), QStringList());
    EXPECT_FALSE(QDir(dir.filePath("failed")).exists());
}

// A printer that never comes back: after the last try the ticket is kept in
// "failed", the listener is told, and the next ticket gets its turn.
TEST(PrintingScriptSpool, APrintThatNeverGoesOutIsKeptAndReported) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString printer = dir.filePath("printer");
    touch(printer + ".off");
    TScriptSpool spool;
    spool.setRetryPauses({10, 20});
    std::vector<TFailedPrint> given;
    spool.setFailureHandler(&given, [&](const TFailedPrint& f) { given.push_back(f); });
    spool.submit(APPEND_TOOL, script(spool, dir.path(), "ESC 105\n"), printer, "12");
    spool.submit(APPEND_TOOL, script(spool, dir.path(), "next\n"), printer, "13");
    ASSERT_TRUE(pollfor(spool, [&] { return !given.empty(); }));
    // Three tries; the next ticket may have had its first by now.
    EXPECT_TRUE(readall(printer + ".runs").startsWith("ESC 105\nESC 105\nESC 105\n"));
    EXPECT_EQ(readall(printer + ".runs").count("ESC 105"), 3);
    QFile::remove(printer + ".off");
    ASSERT_TRUE(pollfor(spool, [&] { return spool.pending().isEmpty(); }));
    EXPECT_EQ(readall(printer), "next\n");

    ASSERT_EQ(given.size(), 1u);
    EXPECT_EQ(given[0].target, printer);
    EXPECT_EQ(given[0].table, "12");
    EXPECT_TRUE(given[0].cause.contains("exit code 13")) << given[0].cause.toStdString();
    const QStringList kept = QDir(dir.filePath("failed")).entryList(QDir::Files);
    ASSERT_EQ(kept.size(), 1);
    EXPECT_EQ(given[0].kept, dir.filePath("failed/" + kept[0]));
    EXPECT_TRUE(kept[0].contains("-table-12-to-")) << kept[0].toStdString();
    EXPECT_EQ(readall(given[0].kept), "ESC 105\n") << "kept as prnfeed reads it";

    // Handled by another: this listener is not removed by a stranger.
    int other = 0;
    spool.clearFailureHandler(&other);
    touch(printer + ".off");
    spool.setRetryPauses({});
    spool.submit(APPEND_TOOL, script(spool, dir.path(), "again\n"), printer, "14");
    ASSERT_TRUE(pollfor(spool, [&] { return given.size() == 2; }));
}

// A send tool that hangs (one even deaf to SIGTERM) is ended before the next
// ticket of its printer starts, and counts as failed.
TEST(PrintingScriptSpool, AHungSendToolIsEndedBeforeTheNextStarts) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString printer = dir.filePath("printer");
    TScriptSpool spool;
    spool.setRetryPauses({});
    spool.setHangLimit(200, 200);
    std::vector<TFailedPrint> given;
    spool.setFailureHandler(&given, [&](const TFailedPrint& f) { given.push_back(f); });
    for (const QByteArray hang : {"HANG\n", "HANG-STUBBORN\n"}) {
        given.clear();
        QFile::remove(printer);
        spool.submit(APPEND_TOOL, script(spool, dir.path(), hang), printer, "5");
        spool.submit(APPEND_TOOL, script(spool, dir.path(), "after\n"), printer, "6");
        ASSERT_TRUE(pollfor(spool, [&] { return spool.pending().isEmpty(); }));
        EXPECT_EQ(readall(printer), "after\n") << hang.constData();
        ASSERT_EQ(given.size(), 1u);
        EXPECT_EQ(given[0].table, "5");
        EXPECT_TRUE(given[0].cause.contains("was ended")) << given[0].cause.toStdString();
    }
}

// At the end of the desk, the tickets still waiting go out one at a time: a
// hung one is ended first and kept, the rest follow in order.
TEST(PrintingScriptSpool, AtTheEndWaitingPrintsGoOneAtATime) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString printer = dir.filePath("printer");
    {
        TScriptSpool spool;
        spool.setHangLimit(300, 100);
        spool.submit(APPEND_TOOL, script(spool, dir.path(), "HANG-STUBBORN\n"), printer, "1");
        spool.submit(APPEND_TOOL, script(spool, dir.path(), "second\n"), printer, "2");
        spool.submit(APPEND_TOOL, script(spool, dir.path(), "third\n"), printer, "3");
    }
    EXPECT_EQ(readall(printer), "second\nthird\n");
    EXPECT_EQ(readall(printer + ".runs"), "HANG-STUBBORN\nsecond\nthird\n");
    EXPECT_EQ(QDir(dir.filePath("failed")).entryList(QDir::Files).size(), 1);
}

// Clearing leftovers takes only the scripts of desks that no longer run.
TEST(PrintingScriptSpool, LeftoversOfRunningDesksStay) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString self = QString::number(QCoreApplication::applicationPid());
    const QStringList names = {"out-1-4.prn",
                               "out-1-4.txt", // pid 1 always runs
                               "out-99999999-1.prn",
                               "out-99999999-1.txt",       // no such process
                               "out-" + self + "-900.prn", // an earlier run's
                               "out-name.prn",
                               "notes.txt"};
    for (const QString& name : names)
        touch(dir.filePath(name));
    QDir(dir.path()).mkdir("failed");
    touch(dir.filePath("failed/20260301-120000-table-1.prn"));
    ASSERT_FALSE(processexists(99999999));

    TScriptSpool spool;
    const TScriptFiles files = spool.reserve(dir.path());
    QStringList left = QDir(dir.path()).entryList(QDir::Files);
    left.removeAll(QFileInfo(files.converted).fileName());
    EXPECT_EQ(left, QStringList({"notes.txt", "out-1-4.prn", "out-1-4.txt", "out-name.prn"}));
    EXPECT_TRUE(QFile::exists(dir.filePath("failed/20260301-120000-table-1.prn")));
}
