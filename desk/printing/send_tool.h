// Starting prnfeed for one final script.
#pragma once

#include <QString>

// Starts `program` with the script path and the printer target as its two
// operands, as an argument vector (no shell, so a target can neither run
// commands nor be cut), and not waited for (the caller collects it once it
// has ended, see childended). An empty target is left out, so prnfeed sees
// one operand and answers with its usage text, as it would for any target it
// cannot use. Returns the process id; throws TPrintError when the program
// cannot be started at all, since then no ticket would ever print.
qint64 startsendtool(const QString& program, const QString& scriptPath, const QString& target);
