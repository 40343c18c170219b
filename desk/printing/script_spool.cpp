#include "printing/script_spool.h"

#include "printing/child_process.h"
#include "printing/print_error.h"
#include "printing/send_tool.h"

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThread>
#include <QTimer>

#include <algorithm>
#include <cstdio>

namespace {
const QString kPrefix = QStringLiteral("out-");
const QString kFailedFolder = QStringLiteral("failed");
constexpr int kPollMs = 100;
// How long the ending desk goes on starting the tickets that still wait;
// what has not started by then is kept instead.
constexpr qint64 kExitWaitMs = 60 * 1000;

bool ours(const QString& fileName) {
    return fileName.startsWith(kPrefix) &&
           (fileName.endsWith(QLatin1String(".txt")) || fileName.endsWith(QLatin1String(".prn")));
}

// The desk's process id in a script name "out-PID-SERIAL.ext"; 0 when the
// name has none.
qint64 writerpid(const QString& fileName) {
    const QString rest = fileName.mid(kPrefix.size());
    bool ok = false;
    const qint64 pid = rest.left(rest.indexOf(u'-')).toLongLong(&ok);
    return ok && pid > 0 ? pid : 0;
}

// prnfeed's exit codes in words.
QString exitcause(int code) {
    switch (code) {
    case 1:
        return QStringLiteral("prnfeed could not read the script or refused its command line "
                              "(exit code 1)");
    case 3:
        return QStringLiteral("a write to the printer failed (exit code 3)");
    case 11:
        return QStringLiteral("the port library could not start (exit code 11)");
    case 12:
        return QStringLiteral("the printer could not be opened (exit code 12)");
    case 13:
        return QStringLiteral("the printer could not be reached or did not take the whole "
                              "ticket (exit code 13)");
    case 14:
        return QStringLiteral("the printer port could not be locked (exit code 14)");
    }
    if (code > 128) return QStringLiteral("prnfeed was ended by signal %1").arg(code - 128);
    return QStringLiteral("prnfeed ended with exit code %1").arg(code);
}

// A piece of a file name made of what any file system takes.
QString namepart(const QString& text) {
    QString out;
    for (const QChar c : text.left(40))
        out += (c.isLetterOrNumber() && c.unicode() < 128) || c == u'.' || c == u'-' ? c : u'_';
    return out;
}
} // namespace

TScriptSpool& TScriptSpool::instance() {
    static TScriptSpool spool;
    return spool;
}

TScriptSpool::TScriptSpool() : pauses_(defaultRetryPauses()) {}

QList<qint64> TScriptSpool::defaultRetryPauses() {
    return {5000, 10000, 20000, 40000, 45000};
}

void TScriptSpool::setRetryPauses(QList<qint64> pausesMs) {
    pauses_ = std::move(pausesMs);
}

void TScriptSpool::setHangLimit(qint64 hangMs, qint64 graceMs) {
    hangMs_ = hangMs;
    graceMs_ = graceMs;
}

void TScriptSpool::setFailureHandler(const void* owner,
                                     std::function<void(const TFailedPrint&)> handler) {
    handlerOwner_ = owner;
    handler_ = std::move(handler);
}

void TScriptSpool::clearFailureHandler(const void* owner) {
    if (handlerOwner_ != owner) return;
    handlerOwner_ = nullptr;
    handler_ = nullptr;
}

TScriptSpool::~TScriptSpool() {
    // The timer belongs to the application, which has normally ended by now.
    if (timer_) QObject::disconnect(timer_, nullptr, nullptr, nullptr);
    ending_ = true;
    handler_ = nullptr;
    // Running send tools are bounded by the hang limit, waiting ones by the
    // exit wait: the loop ends.
    exitDeadline_.setRemainingTime(kExitWaitMs);
    while (!jobs_.empty()) {
        poll();
        if (!jobs_.empty()) QThread::msleep(10);
    }
}

TScriptFiles TScriptSpool::reserve(const QString& folder) {
    if (folder.isEmpty())
        throw TPrintError(QStringLiteral("No folder for printer scripts is configured."));
    QDir dir(folder);
    if (!dir.exists() && !dir.mkpath(QStringLiteral(".")))
        throw TPrintError(
            QStringLiteral("Cannot create the printer script folder %1.").arg(folder));

    const QString canonical = dir.canonicalPath();
    dir.setPath(canonical);
    if (!cleanedFolders_.contains(canonical)) {
        removeleftovers(canonical);
        cleanedFolders_ << canonical;
    }
    // The process id keeps two desks apart; the serial keeps the prints of
    // this one apart; NewOnly steps over whatever an earlier run left behind.
    const QString pid = QString::number(QCoreApplication::applicationPid());
    for (int attempt = 0; attempt < 1000; ++attempt) {
        const QString stem = dir.filePath(kPrefix + pid + u'-' + QString::number(++serial_));
        QFile converted(stem + QLatin1String(".prn"));
        if (converted.open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return {stem + QLatin1String(".txt"), converted.fileName()};
        if (converted.exists()) continue;
        throw TPrintError(QStringLiteral("Cannot create the printer script %1: %2")
                              .arg(converted.fileName(), converted.errorString()));
    }
    throw TPrintError(QStringLiteral("Cannot create a printer script in %1.").arg(folder));
}

void TScriptSpool::submit(const QString& program, const QString& convertedPath,
                          const QString& target, const QString& table) {
    Job job;
    job.script = convertedPath;
    job.program = program;
    job.target = target;
    job.table = table;
    if (!blocked(target, jobs_.size())) start(job);
    jobs_.push_back(std::move(job));
    keeppolling();
}

void TScriptSpool::poll() {
    // A report may run a nested event loop, whose timer would call back.
    if (polling_) return;
    polling_ = true;
    std::vector<TFailedPrint> given;
    for (Job& job : jobs_) {
        if (job.pid <= 0) continue;
        const std::optional<int> code = childexit(job.pid);
        if (!code) {
            watch(job);
            continue;
        }
        job.pid = -1;
        if (job.asked)
            failed(job,
                   QStringLiteral("prnfeed did not finish within %1 s and was ended")
                       .arg(hangMs_ / 1000),
                   given);
        else if (*code != 0)
            failed(job, exitcause(*code), given);
        else {
            QFile::remove(job.script);
            job.done = true;
        }
    }
    for (std::size_t i = 0; i < jobs_.size(); ++i) {
        Job& job = jobs_[i];
        if (job.done || job.pid > 0 || blocked(job.target, i)) continue;
        if (ending_ && exitDeadline_.hasExpired()) {
            failed(job, QStringLiteral("the desk ended before it could be sent"), given);
            continue;
        }
        // The pauses between tries are not waited out by an ending desk.
        if (!ending_ && !job.retryAt.hasExpired()) continue;
        try {
            start(job);
        } catch (const TPrintError& e) {
            failed(job, e.message(), given);
        }
    }
    std::erase_if(jobs_, [](const Job& job) { return job.done; });
    keeppolling();
    polling_ = false;
    report(given);
}

QStringList TScriptSpool::pending() const {
    QStringList scripts;
    for (const Job& job : jobs_)
        scripts << job.script;
    return scripts;
}

int TScriptSpool::failedTries() const {
    int tries = 0;
    for (const Job& job : jobs_)
        tries += job.failures;
    return tries;
}

bool TScriptSpool::blocked(const QString& target, std::size_t before) const {
    for (std::size_t i = 0; i < before && i < jobs_.size(); ++i)
        if (jobs_[i].target == target && !jobs_[i].done) return true;
    return false;
}

void TScriptSpool::start(Job& job) {
    job.pid = startsendtool(job.program, job.script, job.target);
    job.hungAt.setRemainingTime(hangMs_);
    job.asked = false;
    job.killed = false;
}

void TScriptSpool::watch(Job& job) {
    // A send tool that hangs would hold every later ticket of its printer;
    // the next one is never started beside it, so it is ended first.
    if (!job.asked && job.hungAt.hasExpired()) {
        endchild(job.pid, false);
        job.asked = true;
        job.killAt.setRemainingTime(graceMs_);
    } else if (job.asked && !job.killed && job.killAt.hasExpired()) {
        endchild(job.pid, true);
        job.killed = true;
    }
}

void TScriptSpool::failed(Job& job, const QString& cause, std::vector<TFailedPrint>& given) {
    ++job.failures;
    if (!ending_ && job.failures <= pauses_.size()) {
        job.retryAt.setRemainingTime(pauses_[job.failures - 1]);
        return;
    }
    job.done = true;
    given.push_back({job.target, job.table, keep(job), cause});
}

QString TScriptSpool::keep(const Job& job) const {
    // Beside the scripts in flight, under a name that says when, which table
    // and which printer; the leftover cleanup takes only files, not folders.
    const QFileInfo info(job.script);
    QDir dir = info.dir();
    if (!dir.mkpath(kFailedFolder) || !dir.cd(kFailedFolder)) return job.script;
    QString stem = QDateTime::currentDateTime().toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (!job.table.isEmpty()) stem += QStringLiteral("-table-") + namepart(job.table);
    if (!job.target.isEmpty()) stem += QStringLiteral("-to-") + namepart(job.target);
    QString path = dir.filePath(stem + QLatin1String(".prn"));
    for (int n = 2; QFileInfo::exists(path); ++n)
        path = dir.filePath(stem + u'-' + QString::number(n) + QLatin1String(".prn"));
    return QFile::rename(job.script, path) ? path : job.script;
}

void TScriptSpool::report(const std::vector<TFailedPrint>& given) {
    for (const TFailedPrint& print : given) {
        if (handler_ && !ending_) {
            handler_(print);
            continue;
        }
        const QString line =
            QStringLiteral("tpgdesk: the ticket for table %1 was not printed on %2: %3. It is "
                           "kept in %4\n")
                .arg(print.table, print.target, print.cause, print.kept);
        std::fputs(line.toLocal8Bit().constData(), stderr);
    }
}

void TScriptSpool::removeleftovers(const QString& folder) {
    // Another desk printing into the same folder still needs its files; only
    // those of desks that have ended are leftovers. A send tool of an ended
    // desk that still reads its script has it open; removing the name does
    // not take the data from under it.
    const QDir dir(folder);
    const qint64 self = QCoreApplication::applicationPid();
    for (const QString& name : dir.entryList(QDir::Files)) {
        if (!ours(name)) continue;
        const qint64 writer = writerpid(name);
        if (writer == 0 || (writer != self && processexists(writer))) continue;
        const QString path = dir.filePath(name);
        const bool ownJob =
            std::any_of(jobs_.begin(), jobs_.end(), [&](const Job& j) { return j.script == path; });
        if (!ownJob) QFile::remove(path);
    }
}

void TScriptSpool::keeppolling() {
    QCoreApplication* app = QCoreApplication::instance();
    if (ending_ || !app || QThread::currentThread() != app->thread()) return;
    if (!timer_) {
        timer_ = new QTimer(app);
        timer_->setInterval(kPollMs);
        QObject::connect(timer_, &QTimer::timeout, [this] { poll(); });
    }
    if (jobs_.empty())
        timer_->stop();
    else if (!timer_->isActive())
        timer_->start();
}
