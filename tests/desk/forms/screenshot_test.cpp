// Pictures of the settings form in English and Slovak for people to look at;
// the test fails only when a picture cannot be made or saved.
#include "form_fixture.h"

#include <QDir>
#include <QPixmap>

#include <gtest/gtest.h>

namespace {

void shoot(TForm1& form, const QString& name) {
    form.show();
    form.resize(form.sizeHint().expandedTo(QSize(845, 486)));
    QCoreApplication::processEvents();
    const QPixmap picture = form.grab();
    ASSERT_FALSE(picture.isNull());
    ASSERT_TRUE(QDir().mkpath(QStringLiteral(TP_ARTIFACTS_DIR)));
    const QString path = QStringLiteral(TP_ARTIFACTS_DIR "/") + name;
    ASSERT_TRUE(picture.save(path)) << path.toStdString();
}

} // namespace

TEST(DeskScreenshot, SettingsFormInEnglishAndSlovak) {
    // Each on a fresh form, as a new user would first see it.
    FormUnderTest en{QStringLiteral("https://127.0.0.1:9")};
    en.form->nahrajjazyk("EN");
    shoot(*en.form, "settings_form_en.png");
    FormUnderTest sk{QStringLiteral("https://127.0.0.1:9")};
    sk.ui().CL->setCurrentIndex(0);
    sk.form->CLChange();
    shoot(*sk.form, "settings_form_sk.png");
}
