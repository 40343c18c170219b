#include "child_program.h"

#include <QDeadlineTimer>

#include <csignal>
#include <sys/prctl.h>
#include <unistd.h>

ChildProgram::~ChildProgram() {
    stop();
}

std::map<QString, QString> ChildProgram::start(const QString& program, const QStringList& arguments,
                                               const QStringList& prefixes, int timeoutMs) {
    std::map<QString, QString> found;
    process_.setProgram(program);
    process_.setArguments(arguments);
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    const pid_t parent = getpid();
    process_.setChildProcessModifier([parent] {
        prctl(PR_SET_PDEATHSIG, SIGTERM);
        // The test may have died between fork and prctl.
        if (getppid() != parent) _exit(1);
    });
    process_.start();
    if (!process_.waitForStarted(10000)) {
        error_ = program + QStringLiteral(" did not start: ") + process_.errorString();
        return found;
    }
    QByteArray seen;
    const QDeadlineTimer deadline(timeoutMs);
    while (found.size() < std::size_t(prefixes.size()) && !deadline.hasExpired()) {
        if (!process_.canReadLine() && !process_.waitForReadyRead(int(deadline.remainingTime())))
            break;
        while (process_.canReadLine()) {
            const QByteArray raw = process_.readLine();
            seen += raw;
            const QString line = QString::fromUtf8(raw).trimmed();
            for (const QString& prefix : prefixes)
                if (line.startsWith(prefix)) found[prefix] = line.mid(prefix.size());
        }
    }
    if (found.size() < std::size_t(prefixes.size()))
        error_ =
            program + QStringLiteral(" did not report its address: ") + QString::fromUtf8(seen);
    return found;
}

void ChildProgram::stop() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(10000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}
