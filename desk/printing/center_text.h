// Fitting a text into a fixed number of printer columns.
#pragma once

#include <QString>

// The text cut to `width` characters, or padded with blanks on both sides;
// an odd blank goes to the right.
QString centertext(const QString& text, int width);
