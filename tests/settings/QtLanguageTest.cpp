#include <gtest/gtest.h>

#include <QDialogButtonBox>
#include <QPushButton>

#include "settings/qt/QtLanguage.h"

namespace vornel {
namespace {

QString yesText() {
    QDialogButtonBox box(QDialogButtonBox::Yes | QDialogButtonBox::No);
    return box.button(QDialogButtonBox::Yes)->text();
}

// Qt's standard buttons speak the program's language: Turkish for Turkish
// and for a language without texts of its own, Qt's English for English.
TEST(QtLanguageTest, StandardButtonsFollowTheLanguage) {
    const QString english = yesText();
    {
        QtLanguage qtLanguage;
        ASSERT_TRUE(qtLanguage.apply(0)) << "Qt's Turkish translation (qtbase_tr) is not installed";
        EXPECT_TRUE(qtLanguage.turkishInstalled());
        const QString turkish = yesText();
        EXPECT_NE(turkish, english);
        EXPECT_TRUE(turkish.contains("Evet")) << turkish.toStdString();

        EXPECT_TRUE(qtLanguage.apply(1));
        EXPECT_FALSE(qtLanguage.turkishInstalled());
        EXPECT_EQ(yesText(), english);

        EXPECT_TRUE(qtLanguage.apply(2));
        EXPECT_EQ(yesText(), turkish);
        EXPECT_TRUE(qtLanguage.apply(0));
        EXPECT_EQ(yesText(), turkish);
    }
    // Gone with the object.
    EXPECT_EQ(yesText(), english);
}

}  // namespace
}  // namespace vornel
