#include "printing/send_tool.h"

#include "printing/child_process.h"
#include "printing/print_error.h"

qint64 startsendtool(const QString& program, const QString& scriptPath, const QString& target) {
    if (program.isEmpty())
        throw TPrintError(QStringLiteral("No send tool is configured for printing."));
    QStringList arguments{scriptPath};
    if (!target.isEmpty()) arguments << target;
    QString error;
    const qint64 pid = startchild(program, arguments, error);
    if (pid < 0)
        throw TPrintError(QStringLiteral("Cannot start the send tool %1: %2").arg(program, error));
    return pid;
}
