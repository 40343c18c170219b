#include "messages.h"

void RecordingDeskMessages::showMessage(const QString& text) {
    entries_.push_back({Kind::Message, text, QString(), MessageIcon::None});
}

void RecordingDeskMessages::messageBox(const QString& text, const QString& caption,
                                       MessageIcon icon) {
    entries_.push_back({Kind::Box, text, caption, icon});
}

void RecordingDeskMessages::showError(const QString& message) {
    entries_.push_back({Kind::Error, message, QString(), MessageIcon::Error});
}

std::optional<QString> RecordingDeskMessages::inputBox(const QString& caption,
                                                       const QString& prompt, const QString&) {
    entries_.push_back({Kind::Input, prompt, caption, MessageIcon::None});
    if (inputs_.empty()) return std::nullopt;
    std::optional<QString> answer;
    answer.swap(inputs_.front());
    inputs_.pop_front();
    return answer;
}

std::vector<QString> RecordingDeskMessages::texts() const {
    std::vector<QString> out;
    out.reserve(entries_.size());
    for (const auto& e : entries_)
        out.push_back(e.text);
    return out;
}
