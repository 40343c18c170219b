// tpgservice started as a process on a free loopback port with a data folder
// of its own; it ends with the object, or with the test program.
#pragma once

#include "child_program.h"
#include "web_client.h"

#include <QString>
#include <QTemporaryDir>

class TpgserviceProcess {
public:
    explicit TpgserviceProcess(const QString& program);

    bool running() const { return !base_.isEmpty() && !certificate_.isEmpty(); }
    QString error() const { return error_; }
    QString base() const { return base_; }               // "https://127.0.0.1:PORT"
    QString certificate() const { return certificate_; } // PEM to trust
    int port() const;
    // A client that trusts the service's own certificate and nothing less.
    WebClientOptions clientOptions() const;

private:
    QTemporaryDir data_;
    ChildProgram process_;
    QString base_, certificate_, error_;
};
