// The script files of the prints in flight. Every print gets its own pair of
// files, so that tickets printed in quick succession never rewrite a script
// that an earlier prnfeed is still reading. A final script is removed once
// its prnfeed has ended (checked at every print and on sweep()); files left
// by an earlier run of the desk are removed when this run first prints into
// the folder.
#pragma once

#include <QString>
#include <QStringList>

#include <mutex>
#include <vector>

struct TScriptFiles {
    QString raw;       // written by the ticket, removed by the print after conversion
    QString converted; // read by prnfeed, removed when it has finished
};

class TScriptSpool {
public:
    // The one spool of the process: the prints of both tickets share it.
    static TScriptSpool& instance();

    // Creates the folder when missing and a fresh, unused pair of names in it
    // (the final script is created empty, so no other print can take it).
    // Throws TPrintError when the folder or the file cannot be created.
    TScriptFiles reserve(const QString& folder);
    // The final script now belongs to the send tool with this process id.
    void handover(const QString& convertedPath, qint64 pid);
    // Removes the final scripts whose send tool has ended.
    void sweep();
    // Final scripts still waiting for their send tool.
    QStringList pending() const;

private:
    struct Pending {
        QString path;
        qint64 pid;
    };

    void removeleftovers(const QString& folder);

    mutable std::mutex mutex_;
    std::vector<Pending> pending_;
    QStringList cleanedFolders_;
    quint64 serial_ = 0;
};
