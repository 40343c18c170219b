// The prints in flight. Every print gets its own pair of script files, so a
// ticket never rewrites a script that an earlier prnfeed is still reading,
// and the prints of one printer target go out one after the other and in
// order: a second prnfeed on the same port would mix its bytes into the first
// one's (a serial line) or race it for the connection (the order of the
// tickets).
//
// A print whose prnfeed ends with a non-zero exit code (printer off,
// unreachable, out of paper) is tried again after growing pauses, still ahead
// of the later prints of its printer; when the last try has failed too, its
// final script is kept in the folder "failed" inside the script folder and
// whoever listens is told (the tray). A prnfeed that runs for minutes is
// ended and counts as failed. A final script is removed once its prnfeed has
// succeeded; files that an earlier run of the desk left behind are removed
// when this run first prints into the folder, but only those of desks that no
// longer run.
//
// Progress is made at every print, on poll(), and by a timer while prints
// are in flight when the desk's event loop runs. Everything is meant for the
// user-interface thread.
#pragma once

#include <QDeadlineTimer>
#include <QList>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QTimer>

#include <functional>
#include <vector>

struct TScriptFiles {
    QString raw;       // written by the ticket, removed by the print after conversion
    QString converted; // read by prnfeed, removed when it has succeeded
};

// A print given up after its last try.
struct TFailedPrint {
    QString target; // the printer
    QString table;  // the QR (table) number the ticket is for
    QString kept;   // where its final script is now
    QString cause;  // why the last try failed, in words
};

class TScriptSpool {
public:
    // The one spool of the process: the prints of both tickets share it.
    static TScriptSpool& instance();
    TScriptSpool();
    // Sends what still waits, so that no ticket is lost when the desk ends:
    // one at a time per target and in order, without the pauses between
    // tries; what fails then, or cannot start within a bounded wait, is kept
    // in "failed" and reported on standard error.
    ~TScriptSpool();
    TScriptSpool(const TScriptSpool&) = delete;
    TScriptSpool& operator=(const TScriptSpool&) = delete;

    // Creates the folder when missing and a fresh, unused pair of names in it
    // (the final script is created empty, so no other print can take it).
    // Throws TPrintError when the folder or the file cannot be created.
    TScriptFiles reserve(const QString& folder);
    // Hands the final script to the send tool: started now when nothing else
    // is in flight for the target, else queued behind it. `table` names the
    // ticket in a failure report. Throws TPrintError when it is started now
    // and cannot be; the script is then not taken.
    void submit(const QString& program, const QString& convertedPath, const QString& target,
                const QString& table = QString());
    // Collects ended send tools, tries failed prints again when their pause is
    // over, ends hung ones and starts the next waiting.
    void poll();
    // Final scripts not yet done with, in the order they were submitted.
    QStringList pending() const;
    // How many failed tries the prints still in the spool have had.
    int failedTries() const;

    // The pauses before the second, third ... try of a failed print (about
    // two minutes in all); after the last pause's try the print is given up.
    static QList<qint64> defaultRetryPauses();
    void setRetryPauses(QList<qint64> pausesMs);
    // How long a send tool may run before it is asked to end (SIGTERM), and
    // how long it then has before it is killed.
    static constexpr qint64 kDefaultHangMs = 3 * 60 * 1000;
    void setHangLimit(qint64 hangMs, qint64 graceMs = 5000);
    // Who is told of a print given up; `owner` lets only the one who set the
    // handler remove it again. Without a handler the report goes to
    // standard error.
    void setFailureHandler(const void* owner, std::function<void(const TFailedPrint&)> handler);
    void clearFailureHandler(const void* owner);

private:
    struct Job {
        QString script;
        QString program;
        QString target;
        QString table;
        qint64 pid = -1; // > 0 while its send tool runs; -1 otherwise
        int failures = 0;
        bool done = false; // printed or given up: leaves the list
        QDeadlineTimer retryAt;
        QDeadlineTimer hungAt;
        QDeadlineTimer killAt;
        bool asked = false;  // SIGTERM sent
        bool killed = false; // SIGKILL sent
    };

    // Whether a job of the target among the first `before` jobs is still in
    // flight, waiting or running.
    bool blocked(const QString& target, std::size_t before) const;
    void start(Job& job);
    void watch(Job& job);
    void failed(Job& job, const QString& cause, std::vector<TFailedPrint>& given);
    QString keep(const Job& job) const;
    void report(const std::vector<TFailedPrint>& given);
    void removeleftovers(const QString& folder);
    void keeppolling();

    std::vector<Job> jobs_;
    QStringList cleanedFolders_;
    quint64 serial_ = 0;
    QList<qint64> pauses_;
    qint64 hangMs_ = kDefaultHangMs;
    qint64 graceMs_ = 5000;
    const void* handlerOwner_ = nullptr;
    std::function<void(const TFailedPrint&)> handler_;
    QPointer<QTimer> timer_; // a child of the application, which may end first
    bool polling_ = false;
    bool ending_ = false; // in the destructor: no timer may call back, no handler is told
    QDeadlineTimer exitDeadline_;
};
