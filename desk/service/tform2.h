// The service form: the application's main window, never shown in service
// mode. It owns the tray icon, the event list and the polling gate, runs
// start-up (checkinit) and, on every tick of the tray's 750 ms timer, polls
// the web service for guest calls at seconds 0, 20 and 40.
#pragma once

#include "event_list.h"
#include "messages.h"

#include <QStringList>
#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class DeskClock;
class QSystemTrayIcon;
class TForm1;
struct TFailedPrint;

class TForm2 : public QWidget {
    Q_OBJECT

public:
    TForm2(TForm1& settings, DeskMessages& messages, const DeskClock& clock,
           QWidget* parent = nullptr);
    ~TForm2() override;

    // Start-up. `arguments` is the whole command line, program name first.
    // False at every point where the application ends instead of serving.
    bool checkinit(const QStringList& arguments);
    // Whether the service's host takes a TCP connection on the configured
    // check port within the connect time-out.
    bool isInternet();
    // The program entry's last steps and the "Minmize" button's: minimised,
    // the tray animation (the loop's clock) on, the tray icon shown and its
    // balloon asked for.
    void traysteps();
    // A tick of the tray timer.
    void Tr1Animate();
    void BitBtn1Click();
    // The guest-call ticket on the profile's printer; throws TPrintError.
    void printcall(const QString& qrNumber, const QString& optionText);

    bool gateOpen() const { return gate_ == QLatin1String("1"); }
    bool polling() const { return polling_; }
    const TEventList& eventlist() const { return eventlist_; }
    QTimer& animationTimer() { return animation_; }
    // Whether the desktop has a notification area and the icon lives there.
    bool hasTrayIcon() const { return tray_ != nullptr; }

    // Shows the settings form modally; tests replace it.
    std::function<void(TForm1&)> showSettings;
    // Prints one guest-call ticket; printcall unless a test replaces it.
    std::function<void(const QString& qrNumber, const QString& optionText)> printTicket;
    // The tray icon's balloon; tests replace it. Without a notification area
    // a balloon that has something to say comes as a message box instead.
    std::function<void(const QString& title, const QString& text, MessageIcon icon)> balloon;

    // The balloon's words for a ticket that was given up.
    static QString failedprinttitle();
    static QString failedprinttext(const TFailedPrint& print);

private:
    void buildform();
    void pollstep();
    void showballoon(const QString& title, const QString& text, MessageIcon icon);

    TForm1& settings_;
    DeskMessages& messages_;
    const DeskClock& clock_;
    QString gate_;
    bool polling_ = false;
    TEventList eventlist_;
    QTimer animation_;
    std::unique_ptr<QSystemTrayIcon> tray_;
};
