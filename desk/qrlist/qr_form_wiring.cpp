#include "qr_form_wiring.h"

#include "qr_form_actions.h"
#include "qr_numbers_dialog.h"
#include "stat_password.h"
#include "tform1.h"
#include "tform1_controls.h"

void connectQrActions(TForm1& form, BrowserOpener& browser) {
    form.onPreviewQr = [&form, &browser] {
        const Ui::TForm1& u = *form.ui();
        SpeedButton1Click(form.profile(),
                          {u.cb1->currentText(), u.Cb2->currentText(), u.Cb3->currentText(),
                           u.cb4->currentText(), u.cb5->currentText()},
                          form.web(), form.messages(), browser);
    };

    form.onGenerateQrs = [&form] {
        QPushButton* button = form.ui()->Button2;
        // The progress stands on the pressed button itself; its caption is the
        // language's and comes back when the images are done.
        const QString caption = button->text();
        QrListSteps steps;
        steps.askNumbers = [&form] { return askqrnumbers(form.profile(), form.messages(), &form); };
        steps.saveList = [&form](const QString& id, const QString& list) {
            return form.zapisstoly(id, list);
        };
        steps.showList = [&form](const QString& list) { form.ui()->LabeledEdit4->setText(list); };
        steps.saveProfile = [&form] { return form.registrujdodatabazy(); };
        steps.progress = [button, caption](const QString& text) {
            button->setText(text.isEmpty() ? caption : text);
        };
        Button2Click(form.profile(), form.web(), form.messages(), steps);
        button->setText(caption);
    };

    form.onOpenA4 = [&form, &browser] {
        btlacClick(form.profile(), form.web().baseUrl(), browser);
    };

    form.onStatPassword = [&form] {
        StatPasswordSteps steps;
        steps.showPassword = [&form](const QString& password) {
            form.ui()->LabeledEdit6->setText(password);
        };
        steps.saveProfile = [&form] { return form.registrujdodatabazy(); };
        LabeledEdit6Click(form.profile(), form.web().baseUrl(), form.messages(), steps);
    };
}
