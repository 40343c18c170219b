#include "desk_config.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QSettings>
#include <QStandardPaths>
#include <QUrl>

QString DeskConfig::serviceHost() const {
    return QUrl(serviceBase).host();
}

int DeskConfig::checkPort() const {
    return internetCheckPort > 0 && internetCheckPort < 65536 ? internetCheckPort : 21;
}

QString DeskConfig::footer() const {
    return footerText.isEmpty() ? serviceBase.toUpper() : footerText;
}

QString DeskConfig::configPath() {
    const QByteArray env = qgetenv("TPGDESK_CONFIG");
    if (!env.isEmpty()) return QString::fromLocal8Bit(env);
    return QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation) +
           QStringLiteral("/tpgdesk/tpgdesk.ini");
}

DeskConfig DeskConfig::load() {
    return loadFile(configPath());
}

namespace {

QString defaultPrnfeed() {
    if (QCoreApplication::instance()) {
        const QString beside = QCoreApplication::applicationDirPath() + QStringLiteral("/prnfeed");
        if (QFileInfo(beside).isExecutable()) return beside;
    }
    return QStringLiteral("prnfeed");
}

// QSettings reads an unquoted value with commas as a list; a footer or a path
// with a comma is still one text.
QString iniText(const QSettings& ini, const char* key) {
    const QVariant v = ini.value(QLatin1String(key));
    if (v.userType() == QMetaType::QStringList) return v.toStringList().join(QLatin1Char(','));
    return v.toString();
}

long readMs(const QSettings& ini, const char* key, long fallback) {
    bool ok = false;
    const long v = iniText(ini, key).toLong(&ok);
    return ok && v > 0 ? v : fallback;
}

} // namespace

DeskConfig DeskConfig::loadFile(const QString& path) {
    DeskConfig c;
    if (QFileInfo::exists(path)) {
        QSettings ini(path, QSettings::IniFormat);
        ini.beginGroup(QStringLiteral("service"));
        QString base = iniText(ini, "base").trimmed();
        while (base.endsWith(QLatin1Char('/')))
            base.chop(1);
        if (!base.isEmpty()) c.serviceBase = base;
        c.footerText = iniText(ini, "footer");
        const int port = iniText(ini, "check_port").toInt();
        if (port > 0 && port < 65536) c.internetCheckPort = port;
        c.caFile = iniText(ini, "ca_file");
        // Only an explicit "false"/"0"/"no"/"off" turns verification off.
        const QString verify = iniText(ini, "verify").trimmed().toLower();
        c.tlsVerify = !(verify == QLatin1String("false") || verify == QLatin1String("0") ||
                        verify == QLatin1String("no") || verify == QLatin1String("off"));
        c.connectTimeoutMs = readMs(ini, "connect_timeout_ms", c.connectTimeoutMs);
        c.requestTimeoutMs = readMs(ini, "request_timeout_ms", c.requestTimeoutMs);
        ini.endGroup();
        ini.beginGroup(QStringLiteral("printing"));
        c.scriptFolder = iniText(ini, "script_folder");
        c.prnfeedPath = iniText(ini, "prnfeed");
        ini.endGroup();
    }
    if (c.scriptFolder.isEmpty())
        c.scriptFolder = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation) +
                         QStringLiteral("/tableping/");
    if (!c.scriptFolder.endsWith(QLatin1Char('/'))) c.scriptFolder += QLatin1Char('/');
    if (c.prnfeedPath.isEmpty()) c.prnfeedPath = defaultPrnfeed();
    return c;
}
