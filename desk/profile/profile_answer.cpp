#include "profile_answer.h"

#include "answer_text.h"

bool applyProfileAnswer(const QString& body, TCompanyProfile& p) {
    const QStringList lines = splitAnswerLines(body);
    if (lines.isEmpty()) return false;
    QString record = lines.first();
    if (lines.size() == 2) record += lines[1];
    const QStringList f = splitAnswerFields(record);
    if (f.size() < kProfileAnswerFields) return false;
    // Field 0 is the service's copy of the ID: the stored ID stays authoritative.
    p.date_created = f[1];
    p.name = f[3];
    p.lang = f[4];
    p.ip = f[5];
    p.text1u = f[6];
    p.text2u = f[7];
    p.text1d = f[8];
    p.text2d = f[9];
    p.size1 = f[10];
    p.size2 = f[11];
    p.size3 = f[12];
    p.size4 = f[13];
    p.size5 = f[14];
    p.qrcolor = f[15];
    p.text1 = f[16];
    p.text2 = f[17];
    p.text3 = f[18];
    p.text4 = f[19];
    p.text5 = f[20];
    p.text6 = f[21];
    p.text4www = f[25];
    p.text5www = f[26];
    p.text6www = f[27];
    p.textwww = f[28];
    p.email = f[29];
    p.output = f[32];
    p.specialsql = f[33];
    p.specialpath = f[34];
    return true;
}

bool completedAnswer(const QString& answer) {
    return answer.contains(QLatin1String("\"completed\":1"));
}

bool profileComplete(const TCompanyProfile& p) {
    return !p.id.isEmpty() && !p.date_created.isEmpty() && !p.name.isEmpty() &&
           !p.text1.isEmpty() && !p.text2.isEmpty();
}
