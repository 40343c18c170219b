// The test printer started as a process on a free loopback port, writing
// what it receives into a file; it ends with the object, or with the test.
// It can be switched off and on again: back on the same port, so a printer
// target stays valid, with what it receives from then on in the file.
#pragma once

#include "child_program.h"

#include <QString>

class TestprinterProcess {
public:
    TestprinterProcess(const QString& program, const QString& outFile);

    bool running() const { return !address_.isEmpty() && on_; }
    QString error() const { return error_; }
    QString address() const { return address_; } // "127.0.0.1:PORT", a printer target
    QString outFile() const { return out_; }
    QByteArray received() const;

    // Nothing listens on the printer's port until it is switched on again.
    void switchoff();
    // False (see error()) when it did not come back on its port.
    bool switchon();

private:
    QString program_, out_, address_, error_;
    ChildProgram process_;
    bool on_ = false;
};
