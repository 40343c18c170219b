#include "qr_form_wiring.h"

#include "qr_form_actions.h"
#include "qr_numbers_dialog.h"
#include "stat_password.h"
#include "tform1.h"
#include "tform1_controls.h"

#include <QCoreApplication>
#include <QEvent>
#include <QKeyEvent>
#include <QPushButton>

#include <memory>

namespace {

// The state of one generation of QR images, shared by the button's handler
// and the handler of a second press.
struct QrGeneration {
    bool running = false;
    bool cancel = false;
};

// While the images are requested, events are handled between two of them so
// that the progress shows and the user can cancel: with a click on the
// pressed button, or Escape. Any other input is dropped, so that no other
// action of the form starts in the middle of this one.
class QrGenerationGate final : public QObject {
public:
    QrGenerationGate(QPushButton* button, QrGeneration& generation)
        : button_(button), generation_(generation) {
        QCoreApplication::instance()->installEventFilter(this);
    }
    ~QrGenerationGate() override { QCoreApplication::instance()->removeEventFilter(this); }
    QrGenerationGate(const QrGenerationGate&) = delete;
    QrGenerationGate& operator=(const QrGenerationGate&) = delete;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (!isUserInput(event->type())) return false;
        // A window passes its input on to its widgets, where it is judged.
        if (watched->isWindowType()) return false;
        if (event->type() == QEvent::KeyPress &&
            static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) {
            generation_.cancel = true;
            return true;
        }
        return watched != button_;
    }

private:
    static bool isUserInput(QEvent::Type type) {
        switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::Close:
            return true;
        default:
            return false;
        }
    }

    QPushButton* button_;
    QrGeneration& generation_;
};

} // namespace

void connectQrActions(TForm1& form, BrowserOpener& browser) {
    form.onPreviewQr = [&form, &browser] {
        const Ui::TForm1& u = *form.ui();
        SpeedButton1Click(form.profile(),
                          {u.cb1->currentText(), u.Cb2->currentText(), u.Cb3->currentText(),
                           u.cb4->currentText(), u.cb5->currentText()},
                          form.web(), form.messages(), browser);
    };

    auto generation = std::make_shared<QrGeneration>();
    form.onGenerateQrs = [&form, generation] {
        // The button pressed again while its images are requested: stop them.
        if (generation->running) {
            generation->cancel = true;
            return;
        }
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
        std::unique_ptr<QrGenerationGate> gate;
        steps.progress = [button, caption, generation, &gate](const QString& text) {
            button->setText(text.isEmpty() ? caption : text);
            if (text.isEmpty()) {
                gate.reset();
                generation->running = false;
                return;
            }
            if (!gate) {
                generation->running = true;
                generation->cancel = false;
                gate = std::make_unique<QrGenerationGate>(button, *generation);
            }
            // Repaints the progress and takes the click that cancels.
            if (QCoreApplication::instance()) QCoreApplication::processEvents();
        };
        steps.cancelled = [generation] { return generation->cancel; };
        Button2Click(form.profile(), form.web(), form.messages(), steps);
        gate.reset();
        *generation = {};
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
