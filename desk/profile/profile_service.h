// The profile's requests to the web service: the completeness query, the read
// and the POST of a write to "/writesql.php" (profile_writes.h says what each
// write sends).
#pragma once

#include "company_profile.h"
#include "web_client.h"

inline const QString kApiToken = QStringLiteral("MarwenoDelsip");

// "/readsqlx.php" parameters: id, token, then one "=1" flag per wanted field.
WebParams profileReadParams(const QString& id);

// True when the answer contains "completed":1. Never follows a redirect (one
// counts as a failure) and answers false on any failure.
bool queryProfileCompleted(WebClient& web, const QString& id);

// Reads the profile; every failure is swallowed and leaves the profile as it
// was. Returns whether a record was taken.
bool readProfile(WebClient& web, const QString& id, TCompanyProfile& profile);

// POST to "/writesql.php"; throws WebClientError.
void writeProfileParams(WebClient& web, const WebParams& params);
