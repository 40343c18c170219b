// The prints in flight. Every print gets its own pair of script files, so a
// ticket never rewrites a script that an earlier prnfeed is still reading,
// and the prints of one printer target go out one after the other: a second
// prnfeed on the same port would mix its bytes into the first one's (a serial
// line) or race it for the connection (the order of the tickets). A final
// script is removed once its prnfeed has ended; files left by an earlier run
// of the desk are removed when this run first prints into the folder.
//
// Progress is made at every print, on poll(), and by a timer while prints
// are in flight when the desk's event loop runs. Everything is meant for the
// user-interface thread.
#pragma once

#include <QDeadlineTimer>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <vector>

struct TScriptFiles {
    QString raw;       // written by the ticket, removed by the print after conversion
    QString converted; // read by prnfeed, removed when it has finished
};

class TScriptSpool {
public:
    // The one spool of the process: the prints of both tickets share it.
    static TScriptSpool& instance();
    TScriptSpool();
    // Starts what still waits, so that no ticket is lost when the desk ends,
    // each after the one before it on the same target (bounded wait).
    ~TScriptSpool();
    TScriptSpool(const TScriptSpool&) = delete;
    TScriptSpool& operator=(const TScriptSpool&) = delete;

    // Creates the folder when missing and a fresh, unused pair of names in it
    // (the final script is created empty, so no other print can take it).
    // Throws TPrintError when the folder or the file cannot be created.
    TScriptFiles reserve(const QString& folder);
    // Hands the final script to the send tool: started now when nothing else
    // is in flight for the target, else queued behind it. Throws TPrintError
    // when it is started now and cannot be; the script is then not taken.
    void submit(const QString& program, const QString& convertedPath, const QString& target);
    // Removes the scripts of ended send tools and starts the next waiting.
    void poll();
    // Final scripts not yet removed, in the order they were submitted.
    QStringList pending() const;

private:
    struct Job {
        QString script;
        QString program;
        QString target;
        qint64 pid = -1; // -1 while waiting, 0 once it could not be started
        QDeadlineTimer stalled;
    };

    // Whether a job of the target among the first `before` jobs is still
    // waiting, or running and not yet given up on.
    bool blocked(const QString& target, std::size_t before) const;
    void start(Job& job);
    void removeleftovers(const QString& folder);
    void keeppolling();

    std::vector<Job> jobs_;
    QStringList cleanedFolders_;
    quint64 serial_ = 0;
    QPointer<QTimer> timer_; // a child of the application, which may end first
    bool ending_ = false;    // in the destructor: no timer may call back
};
