// Turning the raw ticket script (UTF-8) into the final script that the send
// tool reads: plain ASCII, every other character replaced by its code page
// 852 byte as a decimal token.
#pragma once

#include <QString>

// One script line converted. A character outside ASCII becomes a double
// quote, its code-page position in decimal and a double quote; inside a
// quoted string this closes the string, sends the byte and reopens it.
// Characters the code page lacks become the position of "?" (63).
QString convertscriptline(const QString& line);

// Writes finalPath (anew) from rawPath: the first two lines unchanged, every
// further line converted, each ending with CR LF. Throws TPrintError when a
// file cannot be read or written.
void convertscript(const QString& rawPath, const QString& finalPath);
