#include "printing/print_error.h"

TPrintError::TPrintError(const QString& message) : std::runtime_error(message.toStdString()) {}
