// Reading the event list answer, apart from the requests so that it builds
// with Qt Core alone (the fuzz target links it without the web client).
#include "event_list.h"

#include "answer_text.h"

int appendevents(const QString& answer, TEventList& eventlist) {
    int added = 0;
    for (const QString& line : splitAnswerLines(answer)) {
        const QStringList fields = splitAnswerFields(line);
        if (fields.size() < 2) continue;
        eventlist.append({fields[0], fields[1]});
        ++added;
    }
    return added;
}
