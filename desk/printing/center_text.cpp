#include "printing/center_text.h"

QString centertext(const QString& text, int width) {
    if (width <= 0) return {};
    if (text.size() >= width) return text.left(width);
    const qsizetype free = width - text.size();
    const qsizetype left = free / 2;
    return QString(left, u' ') + text + QString(free - left, u' ');
}
