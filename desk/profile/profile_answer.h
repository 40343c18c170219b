// Reading the web service's profile record into TCompanyProfile.
#pragma once

#include "company_profile.h"

#include <QString>

// Number of "|" fields a profile answer must have at least.
inline constexpr int kProfileAnswerFields = 35;

// Takes the record from an answer body: its first line, joined directly with the
// second when the body has exactly two lines (a last field with one line break).
// With at least 35 fields the profile's fields are set from fields 1 to 34 and
// the result is true; otherwise the profile is left as it was.
bool applyProfileAnswer(const QString& body, TCompanyProfile& profile);

// The completeness query's answer: complete when it holds "completed":1
// anywhere.
bool completedAnswer(const QString& answer);

// The completeness rule: id, date_created, name, text1 and text2 all non-empty.
bool profileComplete(const TCompanyProfile& profile);
