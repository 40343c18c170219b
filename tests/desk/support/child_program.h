// A helper program that a test starts (tpgservice, the test printer). It
// dies with the test: the kernel sends it SIGTERM when the test program ends
// for any reason, and the destructor stops it and waits for it.
#pragma once

#include <QProcess>
#include <QString>
#include <QStringList>

#include <map>

class ChildProgram {
public:
    ChildProgram() = default;
    ~ChildProgram();
    ChildProgram(const ChildProgram&) = delete;
    ChildProgram& operator=(const ChildProgram&) = delete;

    // Starts the program (its standard error goes to the test's) and reads
    // its standard output until a line starting with each of `prefixes` has
    // been seen, for at most `timeoutMs`. Returns the rest of each such line
    // by prefix; error() says what went wrong when one is missing.
    std::map<QString, QString> start(const QString& program, const QStringList& arguments,
                                     const QStringList& prefixes, int timeoutMs = 30000);
    QString error() const { return error_; }
    // SIGTERM, then SIGKILL when it does not end in time; waits for it.
    void stop();

private:
    QProcess process_;
    QString error_;
};
