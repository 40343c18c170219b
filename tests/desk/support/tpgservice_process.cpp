#include "tpgservice_process.h"

#include <QUrl>

TpgserviceProcess::TpgserviceProcess(const QString& program) {
    if (!data_.isValid()) {
        error_ = QStringLiteral("no temporary data folder");
        return;
    }
    const QString listening = QStringLiteral("listening: ");
    const QString certificate = QStringLiteral("certificate: ");
    auto found =
        process_.start(program, {"--data", data_.path(), "--host", "127.0.0.1", "--port", "0"},
                       {listening, certificate});
    base_ = found[listening];
    certificate_ = found[certificate];
    error_ = process_.error();
}

int TpgserviceProcess::port() const {
    return QUrl(base_).port();
}

WebClientOptions TpgserviceProcess::clientOptions() const {
    WebClientOptions options;
    options.baseUrl = base_;
    options.caFile = certificate_;
    options.verifyPeer = true;
    return options;
}
