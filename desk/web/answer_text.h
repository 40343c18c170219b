// Splitting of the web service's text answers into lines and "|" fields.
#pragma once

#include <QString>
#include <QStringList>

// CR LF, LF or CR end a line; an empty last line is dropped.
QStringList splitAnswerLines(const QString& body);
// Fields at "|", empty fields and blanks kept; a field that begins with a double
// quote runs to its closing quote, a doubled quote inside standing for one.
// An empty line has no fields.
QStringList splitAnswerFields(const QString& line);
