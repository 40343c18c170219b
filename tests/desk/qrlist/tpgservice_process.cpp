#include "tpgservice_process.h"

#include <QDeadlineTimer>

#include <stdexcept>

TpgServiceProcess::TpgServiceProcess(const QString& program) {
    if (!data_.isValid()) throw std::runtime_error("no temporary data folder");
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start(program, {QStringLiteral("--data"), data_.path(), QStringLiteral("--port"),
                             QStringLiteral("0")});
    if (!process_.waitForStarted(10000)) throw std::runtime_error("tpgservice did not start");

    QByteArray seen;
    const QDeadlineTimer deadline(30000);
    while ((base_.isEmpty() || certificate_.isEmpty()) && !deadline.hasExpired()) {
        if (!process_.canReadLine() &&
            !process_.waitForReadyRead(static_cast<int>(deadline.remainingTime())))
            break;
        while (process_.canReadLine()) {
            const QByteArray line = process_.readLine();
            seen += line;
            const QString text = QString::fromUtf8(line).trimmed();
            if (text.startsWith(QLatin1String("listening: ")))
                base_ = text.mid(11);
            else if (text.startsWith(QLatin1String("certificate: ")))
                certificate_ = text.mid(13);
        }
    }
    if (base_.isEmpty() || certificate_.isEmpty())
        throw std::runtime_error("tpgservice did not come up: " + seen.toStdString());
}

TpgServiceProcess::~TpgServiceProcess() {
    process_.terminate();
    if (!process_.waitForFinished(10000)) {
        process_.kill();
        process_.waitForFinished(5000);
    }
}

WebClientOptions TpgServiceProcess::clientOptions() const {
    WebClientOptions options;
    options.baseUrl = base_;
    options.caFile = certificate_;
    options.verifyPeer = true;
    return options;
}
