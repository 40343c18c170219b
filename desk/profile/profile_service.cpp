#include "profile_service.h"

#include "profile_answer.h"

WebParams profileReadParams(const QString& id) {
    WebParams params{{QStringLiteral("id"), id}, {QStringLiteral("token"), kApiToken}};
    static const char* const flags[] = {
        "date_created", "name",     "lang",       "ip",         "text1u",   "text2u",  "text1d",
        "text2d",       "size1",    "size2",      "size3",      "size4",    "size5",   "qrcolor",
        "text1",        "text2",    "text3",      "text4",      "text5",    "text6",   "text1www",
        "text2www",     "text3www", "text4www",   "text5www",   "text6www", "textwww", "email",
        "completed",    "output",   "specialsql", "specialpath"};
    for (const char* flag : flags)
        params.emplace_back(QLatin1String(flag), QStringLiteral("1"));
    return params;
}

bool queryProfileCompleted(WebClient& web, const QString& id) {
    const bool follow = web.followRedirects();
    web.setFollowRedirects(false);
    bool complete = false;
    try {
        complete = completedAnswer(
            web.get(QStringLiteral("/readsqlcompleted.php"), {{QStringLiteral("id"), id}}));
    } catch (const WebClientError&) {
        complete = false;
    }
    web.setFollowRedirects(follow);
    return complete;
}

bool readProfile(WebClient& web, const QString& id, TCompanyProfile& profile) {
    web.setFollowRedirects(true);
    try {
        return applyProfileAnswer(web.get(QStringLiteral("/readsqlx.php"), profileReadParams(id)),
                                  profile);
    } catch (const WebClientError&) {
        return false;
    }
}

void writeProfileParams(WebClient& web, const WebParams& params) {
    web.setFollowRedirects(true);
    web.postForm(QStringLiteral("/writesql.php"), params);
}
