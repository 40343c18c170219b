#include "event_list.h"

#include "web_client.h"

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
