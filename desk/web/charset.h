// Decoding of answer bodies by the character set their Content-Type declares.
#pragma once

#include <QByteArray>
#include <QString>

// The "charset" parameter of a Content-Type value, unquoted; empty when none.
QByteArray charsetOf(const QByteArray& contentType);
// Body decoded by the declared character set; UTF-8 when none is declared or the
// declared one is unknown.
QString decodeBody(const QByteArray& body, const QByteArray& contentType);
