// The test printer started as a process on a free loopback port, writing
// what it receives into a file; it ends with the object, or with the test.
#pragma once

#include "child_program.h"

#include <QString>

class TestprinterProcess {
public:
    TestprinterProcess(const QString& program, const QString& outFile);

    bool running() const { return !address_.isEmpty(); }
    QString error() const { return error_; }
    QString address() const { return address_; } // "127.0.0.1:PORT", a printer target
    QString outFile() const { return out_; }
    QByteArray received() const;

private:
    ChildProgram process_;
    QString out_, address_, error_;
};
