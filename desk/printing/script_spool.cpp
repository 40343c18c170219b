#include "printing/script_spool.h"

#include "printing/print_error.h"
#include "printing/child_process.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

namespace {
const QString kPrefix = QStringLiteral("out-");

bool ours(const QString& fileName) {
    return fileName.startsWith(kPrefix) &&
           (fileName.endsWith(QLatin1String(".txt")) || fileName.endsWith(QLatin1String(".prn")));
}
} // namespace

TScriptSpool& TScriptSpool::instance() {
    static TScriptSpool spool;
    return spool;
}

TScriptFiles TScriptSpool::reserve(const QString& folder) {
    if (folder.isEmpty())
        throw TPrintError(QStringLiteral("No folder for printer scripts is configured."));
    QDir dir(folder);
    if (!dir.exists() && !dir.mkpath(QStringLiteral(".")))
        throw TPrintError(QStringLiteral("Cannot create the printer script folder %1.").arg(folder));

    std::lock_guard lock(mutex_);
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

void TScriptSpool::handover(const QString& convertedPath, qint64 pid) {
    std::lock_guard lock(mutex_);
    pending_.push_back({convertedPath, pid});
}

void TScriptSpool::sweep() {
    std::lock_guard lock(mutex_);
    std::erase_if(pending_, [](const Pending& p) {
        if (!childended(p.pid)) return false;
        // A file that cannot be removed now stays for the next run's cleanup.
        QFile::remove(p.path);
        return true;
    });
}

QStringList TScriptSpool::pending() const {
    std::lock_guard lock(mutex_);
    QStringList paths;
    for (const Pending& p : pending_) paths << p.path;
    return paths;
}

void TScriptSpool::removeleftovers(const QString& folder) {
    // A send tool of the earlier run that still reads its script has it open;
    // removing the name does not take the data from under it.
    const QDir dir(folder);
    for (const QString& name : dir.entryList(QDir::Files)) {
        const QString path = dir.filePath(name);
        if (!ours(name)) continue;
        bool inFlight = false;
        for (const Pending& p : pending_) inFlight = inFlight || p.path == path;
        if (!inFlight) QFile::remove(path);
    }
}
