// The QR number list as the user types it ("1,3,5..8,10") and the numbers it
// stands for.
#pragma once

#include <QString>
#include <QStringList>

class DeskMessages;

// One list never yields more numbers than this: every number costs a request
// to the web service, and a slip such as 1..1000000 would otherwise send a
// million of them.
inline constexpr int kMaxQrNumbersPerList = 10000;

// Items separated by commas, each a number or "low..high". On success `result`
// is replaced by the numbers, each once, in decimal form and sorted as texts
// (10 before 2); an empty text gives an empty list. On failure `result` is left
// alone and one message naming the bad item has been shown.
bool parseqrlist(const QString& text, QStringList& result, DeskMessages& messages);
