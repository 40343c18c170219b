// The completeness answer, as the web client hands it over (UTF-8 when the
// service declares no character set). The marker is plain ASCII, so decoding
// must neither hide it nor make it up: the answer is complete exactly when
// its bytes hold "completed":1.
#include "charset.h"
#include "profile_answer.h"

#include <QByteArray>

#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QByteArray body(reinterpret_cast<const char*>(data), qsizetype(size));
    const bool complete = completedAnswer(decodeBody(body, QByteArrayLiteral("text/html")));
    if (complete != body.contains("\"completed\":1")) std::abort();
    return 0;
}
