// A settings form wired to a recording message interface, a settings store in
// a temporary folder and a web service at `base`.
#pragma once

#include "desk_config.h"
#include "messages.h"
#include "settings_store.h"
#include "tform1.h"
#include "tform1_controls.h"

#include <QTemporaryDir>

#include <memory>

struct FormUnderTest {
    explicit FormUnderTest(const QString& base, const QString& caFile = QString());

    QTemporaryDir dir;
    RecordingDeskMessages messages;
    SettingsStore store;
    std::unique_ptr<TForm1> form;
    int endCalls = 0;

    Ui::TForm1& ui() { return *form->ui(); }
    // Texts of the messages shown so far.
    std::vector<QString> shown() const { return messages.texts(); }
};
