// tpgservice started as a process on a free loopback port with a data folder of
// its own; stopped with SIGTERM when the object goes.
#pragma once

#include <QProcess>
#include <QString>
#include <QTemporaryDir>

class TpgserviceProcess {
  public:
    explicit TpgserviceProcess(const QString& program);
    ~TpgserviceProcess();
    TpgserviceProcess(const TpgserviceProcess&) = delete;
    TpgserviceProcess& operator=(const TpgserviceProcess&) = delete;

    bool running() const { return !base_.isEmpty() && !certificate_.isEmpty(); }
    QString error() const { return error_; }
    QString base() const { return base_; }               // "https://127.0.0.1:PORT"
    QString certificate() const { return certificate_; } // PEM to trust

  private:
    QTemporaryDir data_;
    QProcess process_;
    QString base_, certificate_, error_;
};
