// A print that could not be written or handed to the send tool. The caller
// shows what() in the standard error message box; the current action stops.
#pragma once

#include <QString>
#include <stdexcept>

class TPrintError : public std::runtime_error {
public:
    explicit TPrintError(const QString& message);

    QString message() const { return QString::fromUtf8(what()); }
};
