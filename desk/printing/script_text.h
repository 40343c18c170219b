// Texts that go between double quotes in a printer script.
#pragma once

#include <QString>

// The text made safe for a double-quoted string of the script language, so
// that the printer receives exactly its characters: a double quote or a
// backslash is escaped, which would otherwise end the string or start an
// escape. Control characters (C0, line breaks and tabs included, and DEL)
// become "?": on the printer they would be commands. The text is also brought
// to composed form so that a letter typed as base letter plus accent still
// finds its code-page position when the script is converted.
QString scripttext(const QString& text);

// The number of characters the printer receives for scripttext(text) once the
// script has been converted: one byte per character, escapes included.
qsizetype scripttextbytes(const QString& text);
