// Prints for one target go out one after the other and in order; prints for
// different targets do not wait for each other.
#include "printing/script_spool.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QThread>

#include <functional>

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
