#include "tpgservice_process.h"

#include <QDeadlineTimer>

TpgserviceProcess::TpgserviceProcess(const QString& program) {
    process_.setProgram(program);
    process_.setArguments({"--data", data_.path(), "--host", "127.0.0.1", "--port", "0"});
    process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    process_.start();
    if (!process_.waitForStarted(10000)) {
        error_ = "tpgservice did not start: " + process_.errorString();
        return;
    }
    QDeadlineTimer deadline(30000);
    while (!running() && !deadline.hasExpired()) {
        if (!process_.canReadLine() && !process_.waitForReadyRead(int(deadline.remainingTime())))
            break;
        while (process_.canReadLine()) {
            const QString line = QString::fromUtf8(process_.readLine()).trimmed();
            if (line.startsWith("listening: "))
                base_ = line.mid(11);
            else if (line.startsWith("certificate: "))
                certificate_ = line.mid(13);
        }
    }
    if (!running()) error_ = "tpgservice did not report its address";
}

TpgserviceProcess::~TpgserviceProcess() {
    if (process_.state() == QProcess::NotRunning) return;
    process_.terminate();
    if (!process_.waitForFinished(10000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}
