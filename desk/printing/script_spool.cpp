#include "printing/script_spool.h"

#include "printing/child_process.h"
#include "printing/print_error.h"
#include "printing/send_tool.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QThread>
#include <QTimer>

#include <algorithm>

namespace {
const QString kPrefix = QStringLiteral("out-");
constexpr int kPollMs = 100;
// prnfeed gives up on a printer that does not move for 30 s once connected,
// but a connect may hang longer; after this the next ticket does not wait.
constexpr qint64 kStallMs = 5 * 60 * 1000;
// How long the ending desk waits for earlier tickets before it starts the
// ones queued behind them.
constexpr qint64 kExitWaitMs = 60 * 1000;

bool ours(const QString& fileName) {
    return fileName.startsWith(kPrefix) &&
           (fileName.endsWith(QLatin1String(".txt")) || fileName.endsWith(QLatin1String(".prn")));
}
} // namespace

TScriptSpool& TScriptSpool::instance() {
    static TScriptSpool spool;
    return spool;
}

TScriptSpool::TScriptSpool() = default;

TScriptSpool::~TScriptSpool() {
    // The timer belongs to the application, which has normally ended by now.
    if (timer_) QObject::disconnect(timer_, nullptr, nullptr, nullptr);
    ending_ = true;
    // A waiting ticket still goes after the one before it on its printer: a
    // second prnfeed on the same port would mix its bytes into the first's.
    // The wait is bounded; what still waits then is started all the same.
    const QDeadlineTimer deadline(kExitWaitMs);
    auto waiting = [this] {
        return std::any_of(jobs_.begin(), jobs_.end(), [](const Job& j) { return j.pid < 0; });
    };
    while (waiting() && !deadline.hasExpired()) {
        poll();
        if (waiting()) QThread::msleep(10);
    }
    for (Job& job : jobs_) {
        if (job.pid >= 0) continue;
        try {
            start(job);
        } catch (const TPrintError&) {
            QFile::remove(job.script);
        }
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
                          const QString& target) {
    Job job{convertedPath, program, target, -1, {}};
    if (!blocked(target, jobs_.size())) start(job);
    jobs_.push_back(std::move(job));
    keeppolling();
}

void TScriptSpool::poll() {
    std::erase_if(jobs_, [](const Job& job) {
        if (job.pid < 0 || !childended(job.pid)) return false;
        // A file that cannot be removed now goes with the next run's cleanup.
        QFile::remove(job.script);
        return true;
    });
    for (std::size_t i = 0; i < jobs_.size(); ++i) {
        Job& job = jobs_[i];
        if (job.pid >= 0 || blocked(job.target, i)) continue;
        try {
            start(job);
        } catch (const TPrintError&) {
            // The send tool ran a moment ago for the ticket before it; should
            // it be gone now, there is nobody left to tell but the next print.
            QFile::remove(job.script);
            job.pid = 0;
        }
    }
    std::erase_if(jobs_, [](const Job& job) { return job.pid == 0; });
    keeppolling();
}

QStringList TScriptSpool::pending() const {
    QStringList scripts;
    for (const Job& job : jobs_)
        scripts << job.script;
    return scripts;
}

bool TScriptSpool::blocked(const QString& target, std::size_t before) const {
    for (std::size_t i = 0; i < before && i < jobs_.size(); ++i) {
        const Job& job = jobs_[i];
        if (job.target != target) continue;
        if (job.pid < 0 || !job.stalled.hasExpired()) return true;
    }
    return false;
}

void TScriptSpool::start(Job& job) {
    job.pid = startsendtool(job.program, job.script, job.target);
    job.stalled.setRemainingTime(kStallMs);
}

void TScriptSpool::removeleftovers(const QString& folder) {
    // A send tool of the earlier run that still reads its script has it open;
    // removing the name does not take the data from under it.
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files)) {
        const QString path = dir.filePath(name);
        if (!ours(name)) continue;
        bool ownJob = false;
        for (const Job& job : jobs_)
            ownJob = ownJob || job.script == path;
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
