// The stand-in web service as a separate program on a port the system picks,
// with its own data folder, for tests that want the real service's answers.
#pragma once

#include "web_client.h"

#include <QProcess>
#include <QTemporaryDir>

class TpgServiceProcess {
  public:
    // Starts the program and waits (bounded) for its two start-up lines.
    // Throws std::runtime_error with the program's output when it does not come up.
    explicit TpgServiceProcess(const QString& program);
    ~TpgServiceProcess();
    TpgServiceProcess(const TpgServiceProcess&) = delete;
    TpgServiceProcess& operator=(const TpgServiceProcess&) = delete;

    QString base() const { return base_; }
    // A client that trusts the service's own certificate and nothing less.
    WebClientOptions clientOptions() const;

  private:
    QTemporaryDir data_;
    QProcess process_;
    QString base_;
    QString certificate_;
};
