// Programs that the desk starts and does not wait for. They stay children of
// the desk until an ended one is collected, so "has it ended?" has an exact
// answer (the pid cannot be given to another process before that); children
// still running when the desk ends go on by themselves.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// Starts the program with the arguments as an argument vector (no shell) in
// a session of its own, with standard input from the null device so that it
// never reads the desk's terminal. Returns the process id, or -1 with
// `error` filled when the program could not be started.
qint64 startchild(const QString& program, const QStringList& arguments, QString& error);

// Nothing while the child runs; once it has ended, its exit code (128 plus
// the signal's number when a signal ended it) and it is collected. A child
// collected elsewhere answers 0: its outcome can no longer be known. Never
// blocks.
std::optional<int> childexit(qint64 pid);

// Asks a child to end (SIGTERM), or ends it at once (SIGKILL) when `force`.
void endchild(qint64 pid, bool force);

// Whether a process with this id exists (of any user).
bool processexists(qint64 pid);
