// One print: write the ticket's script, convert it and hand it to prnfeed.
#pragma once

#include "printing/print_settings.h"

#include <QString>
#include <QStringList>

// Writes the lines into a fresh raw script, converts it into a fresh final
// script and hands that to the send tool with the printer target (at once,
// or after the prints still in flight for the same target). `table` is the
// QR number the ticket is for, named when the print fails for good. Returns
// the final script's path, removed again once the send tool has succeeded
// (see TScriptSpool for a print that fails). Throws TPrintError when a file
// cannot be written or the send tool cannot be started; nothing is sent then
// and no file is left behind.
QString printscript(const QStringList& lines, const QString& target, const QString& table,
                    const TPrintSettings& settings);
