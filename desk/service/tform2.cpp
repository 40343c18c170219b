#include "tform2.h"

#include "desk_clock.h"
#include "desk_config.h"
#include "event_list.h"
#include "event_poll.h"
#include "internet_check.h"
#include "messages.h"
#include "print_wiring.h"
#include "printing/call_ticket.h"
#include "printing/script_spool.h"
#include "profile_service.h"
#include "tform1.h"
#include "tform1_controls.h"
#include "web_client.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSystemTrayIcon>
#include <QTextEdit>
#include <QTimer>
#include <QVBoxLayout>

#include <exception>

namespace {

const QString kClearPassword = QStringLiteral("Vintor58");
constexpr int kTickMs = 750;
constexpr int kBalloonMs = 5000;

QIcon trayPicture() {
    QPixmap pixmap(32, 32);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setBrush(QColor(0x1f, 0x6f, 0xb5));
    painter.setPen(Qt::NoPen);
    painter.drawEllipse(1, 1, 30, 30);
    painter.setPen(Qt::white);
    QFont font = painter.font();
    font.setBold(true);
    font.setPixelSize(14);
    painter.setFont(font);
    painter.drawText(pixmap.rect(), Qt::AlignCenter, QStringLiteral("TP"));
    return QIcon(pixmap);
}

// Lets the poll step keep its list to itself, however the step ends.
class PollGuard {
public:
    explicit PollGuard(bool& flag) : flag_(flag) { flag_ = true; }
    ~PollGuard() { flag_ = false; }
    PollGuard(const PollGuard&) = delete;
    PollGuard& operator=(const PollGuard&) = delete;

private:
    bool& flag_;
};

} // namespace

TForm2::TForm2(TForm1& settings, DeskMessages& messages, const DeskClock& clock, QWidget* parent)
    : QWidget(parent), settings_(settings), messages_(messages), clock_(clock) {
    buildform();
    showSettings = [](TForm1& form) { form.exec(); };
    printTicket = [this](const QString& qr, const QString& text) { printcall(qr, text); };
    balloon = [this](const QString& title, const QString& text, MessageIcon icon) {
        showballoon(title, text, icon);
    };
    // A ticket that never reached its printer must not be lost in silence.
    TScriptSpool::instance().setFailureHandler(this, [this](const TFailedPrint& print) {
        balloon(failedprinttitle(), failedprinttext(print), MessageIcon::Warning);
    });
    animation_.setInterval(kTickMs);
    connect(&animation_, &QTimer::timeout, this, &TForm2::Tr1Animate);
    if (QSystemTrayIcon::isSystemTrayAvailable()) {
        tray_ = std::make_unique<QSystemTrayIcon>(trayPicture());
        tray_->setToolTip(QApplication::applicationName());
    }
}

TForm2::~TForm2() {
    TScriptSpool::instance().clearFailureHandler(this);
}

QString TForm2::failedprinttitle() {
    return QStringLiteral("Ticket not printed");
}

QString TForm2::failedprinttext(const TFailedPrint& print) {
    return QStringLiteral("The ticket for table %1 could not be printed on the printer %2: %3. "
                          "It is kept in %4 and can be printed later with prnfeed.")
        .arg(print.table, print.target.isEmpty() ? QStringLiteral("(none set)") : print.target,
             print.cause, print.kept);
}

void TForm2::showballoon(const QString& title, const QString& text, MessageIcon icon) {
    if (tray_ && QSystemTrayIcon::supportsMessages()) {
        const auto trayIcon = icon == MessageIcon::Warning ? QSystemTrayIcon::Warning
                              : icon == MessageIcon::Error ? QSystemTrayIcon::Critical
                                                           : QSystemTrayIcon::Information;
        tray_->showMessage(title, text, trayIcon, kBalloonMs);
        return;
    }
    // No balloons here: a message that has something to say comes as a box,
    // and not from inside the caller (the spool's poll, a tick), as it is modal.
    if (!text.isEmpty())
        QTimer::singleShot(0, this,
                           [this, title, text, icon] { messages_.messageBox(text, title, icon); });
}

void TForm2::buildform() {
    setWindowTitle(QStringLiteral("TablePing"));
    resize(440, 158);
    auto* layout = new QVBoxLayout(this);
    auto* labels = new QHBoxLayout;
    labels->addWidget(new QLabel(QStringLiteral("TablePing"), this));
    labels->addWidget(new QLabel(QStringLiteral("Service"), this));
    labels->addWidget(new QLabel(QString(), this));
    layout->addLayout(labels);
    auto* notes = new QHBoxLayout;
    auto* rich = new QTextEdit(this);
    rich->setReadOnly(true);
    auto* memo = new QPlainTextEdit(this);
    memo->setReadOnly(true);
    notes->addWidget(rich);
    notes->addWidget(memo);
    layout->addLayout(notes);
    auto* buttons = new QHBoxLayout;
    for (const char* caption : {"&Skuška tlače", "&Prehľad archivácie", "&Nastavenie"})
        buttons->addWidget(new QPushButton(QString::fromUtf8(caption), this));
    auto* minimize = new QPushButton(QStringLiteral("Minmize"), this);
    minimize->setObjectName(QStringLiteral("BitBtn1"));
    connect(minimize, &QPushButton::clicked, this, &TForm2::BitBtn1Click);
    buttons->addWidget(minimize);
    layout->addLayout(buttons);
}

bool TForm2::checkinit(const QStringList& arguments) {
    const QString first = arguments.value(1);
    if (first == QLatin1String("/CLEARREGISTER") && arguments.value(2) == kClearPassword) {
        settings_.cistiregister();
        return false;
    }

    if (!isInternet()) {
        messages_.messageBox(QStringLiteral("    Pozor! Neexistuje pripojenie k internetu !!!"),
                             QStringLiteral("POZOR CHYBOVÁ SPRÁVA"), MessageIcon::Error);
        return false;
    }

    const QString id = settings_.citajregister();
    const QString email = settings_.profile().email;
    if (id.trimmed().isEmpty()) {
        showSettings(settings_);
        close();
        return false;
    }

    if (!settings_.citajsqlcompleted(id)) {
        settings_.ui()->LabeledEdit1->setText(id);
        settings_.ui()->LabeledEdit14->setText(email);
        settings_.citajsqlx(id);
        settings_.nahrajform1();
        showSettings(settings_);
        close();
        return false;
    }

    settings_.citajsqlx(id);
    eventlist_.clear();
    settings_.nahrajjazyk(settings_.profile().lang);

    if (first == QLatin1String("/SET")) {
        settings_.setFormCaption(QStringLiteral("Setting parameres"));
        settings_.nahrajform1();
        showSettings(settings_);
        if (settings_.applicationEnded()) return false;
    }

    try {
        clearevent(settings_.web(), settings_.profile().id);
    } catch (const WebClientError& e) {
        messages_.showError(e.text());
        return false;
    }

    hide();
    gate_ = QStringLiteral("1");
    return true;
}

bool TForm2::isInternet() {
    const DeskConfig& config = settings_.config();
    return isreachable(config.serviceHost(), config.checkPort(), int(config.connectTimeoutMs));
}

void TForm2::traysteps() {
    setWindowState(Qt::WindowMinimized);
    animation_.start();
    if (tray_) tray_->show();
    // Neither title nor text: the balloon says that the desk is now in the
    // tray, wherever the desktop shows it.
    balloon(QString(), QString(), MessageIcon::Information);
}

void TForm2::BitBtn1Click() {
    hide();
    traysteps();
}

void TForm2::Tr1Animate() {
    if (!ispollsecond(clock_.now())) return;
    if (!gateOpen()) return;
    // The alert box is modal and this timer keeps firing under it: a tick of
    // a later second must not empty or refill the list still being worked on.
    if (polling_) return;
    PollGuard guard(polling_);
    try {
        pollstep();
    } catch (const std::exception& e) {
        messages_.showError(QString::fromUtf8(e.what()));
    }
}

void TForm2::pollstep() {
    PollSteps steps;
    steps.reread = [this] {
        TCompanyProfile& profile = settings_.profile();
        if (readProfile(settings_.web(), profile.id, profile)) settings_.nahrajjazyk(profile.lang);
    };
    steps.fetch = [this](TEventList& list) {
        return citajevent(settings_.web(), settings_.profile().id, list);
    };
    steps.alert = [this](const QString& text, const QString& caption) {
        messages_.messageBox(text, caption, MessageIcon::Warning);
    };
    steps.ticket = printTicket;
    steps.error = [this](const QString& message) { messages_.showError(message); };
    pollevents(settings_.profile(), eventlist_, steps);
}

void TForm2::printcall(const QString& qrNumber, const QString& optionText) {
    ::printcall(settings_.profile(), qrNumber, optionText, printsettings(settings_.config()));
}
