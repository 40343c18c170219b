#include "desk_config.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

QString writeIni(const QTemporaryDir& dir, const QByteArray& text) {
    const QString path = dir.filePath("tpgdesk.ini");
    QFile f(path);
    EXPECT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(text);
    return path;
}

} // namespace

TEST(DeskConfig, DefaultsPointAtALocalServiceWithVerificationOn) {
    const DeskConfig c = DeskConfig::loadFile("/nonexistent/tpgdesk.ini");
    EXPECT_EQ(c.serviceBase, "https://127.0.0.1:8443");
    EXPECT_EQ(c.serviceHost(), "127.0.0.1");
    EXPECT_EQ(c.checkPort(), 21);
    EXPECT_TRUE(c.tlsVerify);
    EXPECT_EQ(c.connectTimeoutMs, 10000);
    EXPECT_EQ(c.requestTimeoutMs, 30000);
    EXPECT_TRUE(c.scriptFolder.endsWith("/tableping/"));
    EXPECT_FALSE(c.prnfeedPath.isEmpty());
    EXPECT_EQ(c.footer(), "HTTPS://127.0.0.1:8443");
}

TEST(DeskConfig, FileValuesAndOnlyAnExplicitValueTurnVerificationOff) {
    QTemporaryDir dir;
    DeskConfig c = DeskConfig::loadFile(writeIni(
        dir, "[service]\nbase=https://tpg.example:9443/\nfooter=\"WWW.TPG.EXAMPLE, "
             "SK\"\ncheck_port=8443\n"
             "ca_file=/etc/tpg/ca.pem\nverify=yes\nconnect_timeout_ms=2500\nrequest_timeout_ms=-4\n"
             "[printing]\nscript_folder=/var/spool/tpg\nprnfeed=/opt/tpg/prnfeed\n"));
    EXPECT_EQ(c.serviceBase, "https://tpg.example:9443");
    EXPECT_EQ(c.serviceHost(), "tpg.example");
    EXPECT_EQ(c.checkPort(), 8443);
    EXPECT_EQ(c.footer(), "WWW.TPG.EXAMPLE, SK");
    EXPECT_EQ(c.caFile, "/etc/tpg/ca.pem");
    EXPECT_TRUE(c.tlsVerify);
    EXPECT_EQ(c.connectTimeoutMs, 2500);
    EXPECT_EQ(c.requestTimeoutMs, 30000); // nonsense keeps the default
    EXPECT_EQ(c.scriptFolder, "/var/spool/tpg/");
    EXPECT_EQ(c.prnfeedPath, "/opt/tpg/prnfeed");

    for (const char* off : {"false", "0", "OFF", "no"}) {
        c = DeskConfig::loadFile(writeIni(dir, QByteArray("[service]\nverify=") + off + "\n"));
        EXPECT_FALSE(c.tlsVerify) << off;
    }
    c = DeskConfig::loadFile(writeIni(dir, "[service]\nverify=maybe\n"));
    EXPECT_TRUE(c.tlsVerify);
}

TEST(DeskConfig, EnvironmentNamesAnotherFile) {
    QTemporaryDir dir;
    const QString path = writeIni(dir, "[service]\nbase=https://10.1.2.3\n");
    setenv("TPGDESK_CONFIG", path.toLocal8Bit().constData(), 1);
    const DeskConfig c = DeskConfig::load();
    unsetenv("TPGDESK_CONFIG");
    EXPECT_EQ(DeskConfig::configPath().endsWith("/tpgdesk/tpgdesk.ini"), true);
    EXPECT_EQ(c.serviceBase, "https://10.1.2.3");
    EXPECT_EQ(c.checkPort(), 21);
}
