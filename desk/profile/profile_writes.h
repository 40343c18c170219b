// The profile's writes to "/writesql.php" and the checks before a
// registration: which fields each write sends, in the order the service has
// always received them. The settings form supplies the texts of its fields.
#pragma once

#include "web_client.h"

#include <QString>

// The texts of the settings form's fields, as a profile write sends them.
struct TProfileForm {
    QString id;    // LabeledEdit1
    QString email; // LabeledEdit14
    QString name;  // LabeledEdit2
    QString lang;  // first two characters of the language selector
    QString ip;    // LabeledEdit3
    QString size1, size2, size3, size4, size5, qrcolor; // selector texts as shown
    QString text1u, text2u, text1d, text2d;
    QString output; // first character of the output selector
    QString text1, text2, text3, text4, text5, text6;
    QString text4www, text5www, text6www;
    QString specialsql;  // LabeledEdit5
    QString specialpath; // LabeledEdit4
};

// The whole profile (registrujdodatabazy), marked complete, created and
// updated on `date` (yyyy-MM-dd); sizes and colour trimmed. `textwww` is the
// statistics password, which the form does not show.
WebParams wholeprofileparams(const TProfileForm& form, const QString& textwww, const QString& date);
// The QR design (qrdodatabazy): name, sizes, colour and the four texts.
WebParams qrdesignparams(const TProfileForm& form);
// The QR number list as typed (zapisstoly).
WebParams tablelistparams(const QString& id, const QString& list);
// The completeness mark (zapissqlcompleted).
WebParams completedparams(const QString& id);

// What a registration needs before the store and the service are written.
enum class TRegistrationCheck { Ok, BadId, BadEmail };
// The ID and the e-mail must be longer than four characters and not the
// form's placeholders; an ID of blanks only is refused too, since start-up
// would read it as no ID and ask for registration for ever.
TRegistrationCheck checkregistration(const QString& id, const QString& email);
