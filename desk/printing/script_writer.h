// The raw ticket script: a text file written line by line, each line ending
// with CR LF, in UTF-8 (the converter turns it into code-page bytes).
#pragma once

#include <QFile>
#include <QString>

class TScriptWriter {
public:
    // Creates the file anew. Throws TPrintError when it cannot be created.
    explicit TScriptWriter(const QString& path);
    TScriptWriter(const TScriptWriter&) = delete;
    TScriptWriter& operator=(const TScriptWriter&) = delete;

    // Appends the text and CR LF. Throws TPrintError when the write fails.
    void writeline(const QString& text);
    // Flushes and closes; throws TPrintError when the data did not reach the
    // file. The destructor closes quietly when close() was not called.
    void close();

private:
    [[noreturn]] void fail();

    QFile file_;
};
