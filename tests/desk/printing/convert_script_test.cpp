// The conversion of whole script files.
#include "printing/print_error.h"
#include "printing/script_converter.h"
#include "printing/script_writer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {
QByteArray readall(const QString& path) {
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<unreadable>");
}
} // namespace

TEST(PrintingConvertScript, KeepsTheFirstTwoLinesAndEndsEveryLineWithCrLf) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString raw = dir.filePath("raw.txt"), out = dir.filePath("out.prn");
    TScriptWriter writer(raw);
    writer.writeline("\"é first\"");
    writer.writeline("\"é second\"");
    writer.writeline("\"é third\" CR LF");
    writer.writeline("");
    writer.writeline("ESC 105 CR LF");
    writer.close();
    EXPECT_EQ(readall(raw), "\"\xC3\xA9 first\"\r\n\"\xC3\xA9 second\"\r\n\"\xC3\xA9 third\" CR "
                            "LF\r\n\r\nESC 105 CR LF\r\n");

    convertscript(raw, out);
    EXPECT_EQ(readall(out), "\"\xC3\xA9 first\"\r\n\"\xC3\xA9 second\"\r\n\"\"130\" third\" CR "
                            "LF\r\n\r\nESC 105 CR LF\r\n");
}

TEST(PrintingConvertScript, RewritesAnEarlierFinalScript) {
    QTemporaryDir dir;
    const QString raw = dir.filePath("raw.txt"), out = dir.filePath("out.prn");
    {
        QFile old(out);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write(QByteArray(1000, 'x'));
    }
    TScriptWriter writer(raw);
    writer.writeline("a");
    writer.close();
    convertscript(raw, out);
    EXPECT_EQ(readall(out), "a\r\n");
}

TEST(PrintingConvertScript, FailuresRaiseThePrintError) {
    QTemporaryDir dir;
    const QString missing = dir.filePath("no/such/folder/raw.txt");
    EXPECT_THROW(TScriptWriter{missing}, TPrintError);
    EXPECT_THROW(convertscript(dir.filePath("absent.txt"), dir.filePath("out.prn")), TPrintError);

    const QString raw = dir.filePath("raw.txt");
    TScriptWriter writer(raw);
    writer.writeline("a");
    writer.close();
    try {
        convertscript(raw, missing);
        FAIL() << "no error for an unwritable final script";
    } catch (const TPrintError& e) {
        EXPECT_TRUE(e.message().contains(missing)) << e.what();
    }
}

TEST(PrintingConvertScript, WriteFailureOnFullDeviceIsReported) {
    if (!QFile::exists("/dev/full")) GTEST_SKIP() << "no /dev/full";
    TScriptWriter writer("/dev/full");
    // The buffer may hide the failure until the data is flushed.
    EXPECT_THROW(
        {
            for (int i = 0; i < 10000; ++i)
                writer.writeline(QString(100, u'x'));
            writer.close();
        },
        TPrintError);
}
