// Settings of this installation that are not part of the company profile:
// where the web service is and how to trust it, where printer scripts go and
// where prnfeed lives. Read from an INI file in the user's configuration folder
// ("tpgdesk/tpgdesk.ini"), or from the file named by TPGDESK_CONFIG. Missing
// keys keep the defaults, which point at a local tpgservice.
//
// [service] base=https://127.0.0.1:8443  footer=  check_port=21
//           ca_file=  verify=true  connect_timeout_ms=10000  request_timeout_ms=30000
// [printing] script_folder=  prnfeed=
#pragma once

#include <QString>

struct DeskConfig {
    QString serviceBase = QStringLiteral("https://127.0.0.1:8443");
    QString footerText;         // ticket footer; empty: the base address in capitals
    int internetCheckPort = 21; // the reachability check's TCP port on the service host
    QString scriptFolder;       // ends with "/"; load(): "<user data folder>/tableping/"
    QString caFile;             // empty: the system's trust store only
    bool tlsVerify = true;
    QString prnfeedPath; // load(): "prnfeed" next to tpgdesk when there, else "prnfeed"
    long connectTimeoutMs = 10000;
    long requestTimeoutMs = 30000;

    // Host part of serviceBase ("127.0.0.1").
    QString serviceHost() const;
    // The port the internet check connects to (check_port; 21 unless set).
    int checkPort() const;
    // footerText, or the base address in capitals when it is empty.
    QString footer() const;

    // TPGDESK_CONFIG when set, else the user's configuration folder.
    static QString configPath();
    static DeskConfig load();
    // A missing or unreadable file gives the defaults.
    static DeskConfig loadFile(const QString& path);
};
