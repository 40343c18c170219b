// Programs that the desk starts and does not wait for. They stay children of
// the desk until an ended one is collected, so "has it ended?" has an exact
// answer (the pid cannot be given to another process before that); children
// still running when the desk ends go on by themselves.
#pragma once

#include <QString>
#include <QStringList>

// Starts the program with the arguments as an argument vector (no shell) in
// a session of its own, with standard input from the null device so that it
// never reads the desk's terminal. Returns the process id, or -1 with
// `error` filled when the program could not be started.
qint64 startchild(const QString& program, const QStringList& arguments, QString& error);

// True once the child has ended; collects it then. Never blocks.
bool childended(qint64 pid);
