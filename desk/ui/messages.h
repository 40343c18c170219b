// Every message the desk shows goes through DeskMessages, so that the forms'
// actions can run headless in tests with RecordingDeskMessages and on screen
// with QtDeskMessages.
#pragma once

#include <QString>

#include <deque>
#include <optional>
#include <vector>

class QWidget;

enum class MessageIcon { None, Information, Warning, Error };

class DeskMessages {
public:
    virtual ~DeskMessages() = default;

    // Plain message: the text and an OK button, titled with the application's name.
    virtual void showMessage(const QString& text) = 0;
    // A box with its own caption and icon, topmost, owned by the foreground window.
    // The caption is the title as it is, an empty one included.
    virtual void messageBox(const QString& text, const QString& caption, MessageIcon icon) = 0;
    // The standard error message box: the error's own message, error icon.
    virtual void showError(const QString& message) = 0;
    // Input box. Returns the text on OK and nothing when the user cancelled.
    virtual std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                            const QString& initial) = 0;
};

// Modal Qt dialogs. The owner is the active window at the moment of the call;
// every text is shown as plain text.
class QtDeskMessages final : public DeskMessages {
public:
    void showMessage(const QString& text) override;
    void messageBox(const QString& text, const QString& caption, MessageIcon icon) override;
    void showError(const QString& message) override;
    std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                    const QString& initial) override;
};

// Records every message in order; input boxes take their answers from a queue
// (an empty queue answers as if the user cancelled).
class RecordingDeskMessages final : public DeskMessages {
public:
    enum class Kind { Message, Box, Error, Input };
    struct Entry {
        Kind kind;
        QString text; // message text, or the prompt of an input box
        QString caption;
        MessageIcon icon = MessageIcon::None;
    };

    void showMessage(const QString& text) override;
    void messageBox(const QString& text, const QString& caption, MessageIcon icon) override;
    void showError(const QString& message) override;
    std::optional<QString> inputBox(const QString& caption, const QString& prompt,
                                    const QString& initial) override;

    // Next input box answers `text`; std::nullopt answers "cancelled".
    void queueInput(std::optional<QString> text) { inputs_.push_back(std::move(text)); }

    const std::vector<Entry>& entries() const { return entries_; }
    // Texts of all entries, in order (handy for EXPECT_EQ on a whole dialogue).
    std::vector<QString> texts() const;
    void clear() { entries_.clear(); }

private:
    std::vector<Entry> entries_;
    std::deque<std::optional<QString>> inputs_;
};
