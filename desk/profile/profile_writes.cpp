#include "profile_writes.h"

#include "initial_texts.h"
#include "profile_service.h"

WebParams wholeprofileparams(const TProfileForm& f, const QString& textwww, const QString& date) {
    return {
        {QStringLiteral("id"), f.id},
        {QStringLiteral("token"), kApiToken},
        {QStringLiteral("date_created"), date},
        {QStringLiteral("date_updated"), date},
        {QStringLiteral("name"), f.name},
        {QStringLiteral("lang"), f.lang},
        {QStringLiteral("email"), f.email},
        {QStringLiteral("ip"), f.ip},
        {QStringLiteral("size1"), f.size1.trimmed()},
        {QStringLiteral("text1u"), f.text1u},
        {QStringLiteral("text2u"), f.text2u},
        {QStringLiteral("size2"), f.size2.trimmed()},
        {QStringLiteral("size3"), f.size3.trimmed()},
        {QStringLiteral("text1d"), f.text1d},
        {QStringLiteral("text2d"), f.text2d},
        {QStringLiteral("size4"), f.size4.trimmed()},
        {QStringLiteral("size5"), f.size5.trimmed()},
        {QStringLiteral("qrcolor"), f.qrcolor.trimmed()},
        {QStringLiteral("output"), f.output},
        {QStringLiteral("text1"), f.text1},
        {QStringLiteral("text2"), f.text2},
        {QStringLiteral("text3"), f.text3},
        {QStringLiteral("text4"), f.text4},
        {QStringLiteral("text5"), f.text5},
        {QStringLiteral("text6"), f.text6},
        {QStringLiteral("text4www"), f.text4www},
        {QStringLiteral("text5www"), f.text5www},
        {QStringLiteral("text6www"), f.text6www},
        {QStringLiteral("textwww"), textwww},
        {QStringLiteral("completed"), QStringLiteral("1")},
        {QStringLiteral("specialsql"), f.specialsql},
        {QStringLiteral("specialpath"), f.specialpath},
    };
}

WebParams qrdesignparams(const TProfileForm& f) {
    return {
        {QStringLiteral("id"), f.id},           {QStringLiteral("token"), kApiToken},
        {QStringLiteral("name"), f.name},       {QStringLiteral("size1"), f.size1},
        {QStringLiteral("text1u"), f.text1u},   {QStringLiteral("text2u"), f.text2u},
        {QStringLiteral("size2"), f.size2},     {QStringLiteral("size3"), f.size3},
        {QStringLiteral("text1d"), f.text1d},   {QStringLiteral("text2d"), f.text2d},
        {QStringLiteral("size4"), f.size4},     {QStringLiteral("size5"), f.size5},
        {QStringLiteral("qrcolor"), f.qrcolor},
    };
}

WebParams tablelistparams(const QString& id, const QString& list) {
    return {{QStringLiteral("id"), id},
            {QStringLiteral("specialpath"), list},
            {QStringLiteral("token"), kApiToken}};
}

WebParams completedparams(const QString& id) {
    return {{QStringLiteral("id"), id},
            {QStringLiteral("completed"), QStringLiteral("1")},
            {QStringLiteral("token"), kApiToken}};
}

TRegistrationCheck checkregistration(const QString& id, const QString& email) {
    if (id.size() <= 4 || id.trimmed() == kIdPlaceholder || id.trimmed().isEmpty())
        return TRegistrationCheck::BadId;
    if (email.size() <= 4 || email.trimmed() == kEmailPlaceholder)
        return TRegistrationCheck::BadEmail;
    return TRegistrationCheck::Ok;
}
