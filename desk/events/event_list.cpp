#include "event_list.h"

#include "answer_text.h"
#include "web_client.h"

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

bool citajevent(WebClient& web, const QString& id, TEventList& eventlist) {
    try {
        return appendevents(
                   web.get(QStringLiteral("/read_events.php"), {{QStringLiteral("id"), id}}),
                   eventlist) > 0;
    } catch (const WebClientError&) {
        return false;
    }
}

void clearevent(WebClient& web, const QString& id) {
    web.get(QStringLiteral("/clear_events.php"), {{QStringLiteral("id"), id}});
}
