#include <gtest/gtest.h>

#include <QApplication>
#include <QFont>
#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QTest>

#include "platform/qt/QtConversions.h"
#include "platform/qt/QtDispatcher.h"
#include "settings/Language.h"
#include "support/RecordingDialogs.h"
#include "windows/qt/KeyMapWindow.h"

namespace vornel {
namespace {

class KeyMapWindowTest : public ::testing::Test {
protected:
    KeyMapWindowTest() {
        language.table.SetTheLangsQuery();
        model.showPlayer = [this] { ++playerShown; };
        dispatcher.runHandler([this] {
            model.relabel(language.table, kLangEnglish);
            model.Show();
        });
    }

    Language language;
    QtDispatcher dispatcher;
    KeyMapForm model;
    KeyMapWindow window{model, dispatcher};
    int playerShown = 0;
};

TEST_F(KeyMapWindowTest, ShowsTheLabelsAsWrittenLettersLeftFunctionKeysRight) {
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), QString("Key map"));
    EXPECT_EQ(window.okButton()->text(), QString("Ok"));
    EXPECT_EQ(window.noteLabel()->text(), QString("* Minor = Shift + Key ..."));
    const int middle = window.frame()->width() / 2;
    for (int i = 0; i < KeyMapForm::kPairCount; ++i) {
        const auto pos = static_cast<std::size_t>(i);
        EXPECT_EQ(window.keyLabel(i)->text(), qtString(model.Label1[pos].caption)) << i;
        EXPECT_EQ(window.actionLabel(i)->text(), qtString(model.Label2[pos].caption)) << i;
        EXPECT_TRUE(window.keyLabel(i)->isVisible());
        // Each pair reads on one line, the key before what it does.
        EXPECT_EQ(window.keyLabel(i)->y(), window.actionLabel(i)->y());
        EXPECT_LT(window.keyLabel(i)->geometry().right(), window.actionLabel(i)->x());
        const bool letter = i < KeyMapForm::kLetterKeyCount;
        if (letter) {
            EXPECT_LT(window.actionLabel(i)->geometry().right(), middle) << i;
        } else {
            EXPECT_GE(window.keyLabel(i)->x(), middle) << i;
            EXPECT_LE(window.actionLabel(i)->geometry().right(), window.frame()->width()) << i;
        }
    }
    // The two spaces of "Key A  --->>>" reach the screen.
    EXPECT_EQ(window.keyLabel(0)->text(), QString("Key A  --->>>"));
}

// A desktop with a large font: the rows spread out instead of overlapping,
// and the frame, the note and OK make room for them.
TEST(KeyMapWindowLargeFont, RowsNeverOverlapAndEverythingFits) {
    const QFont standard = QApplication::font();
    QFont large = standard;
    large.setPointSize(22);
    QApplication::setFont(large);
    {
        Language language;
        language.table.SetTheLangsQuery();
        QtDispatcher dispatcher;
        KeyMapForm model;
        KeyMapWindow window{model, dispatcher};
        dispatcher.runHandler([&] {
            model.relabel(language.table, kLangEnglish);
            model.Show();
        });
        for (int i = 1; i < KeyMapForm::kLetterKeyCount; ++i)
            EXPECT_GE(window.keyLabel(i)->y(), window.keyLabel(i - 1)->geometry().bottom()) << i;
        const QLabel* last = window.keyLabel(KeyMapForm::kLetterKeyCount - 1);
        EXPECT_LE(last->geometry().bottom(), window.frame()->height()) << "last row clipped";
        EXPECT_GT(window.noteLabel()->y(), window.frame()->geometry().bottom());
        EXPECT_GT(window.okButton()->y(), window.noteLabel()->y());
        EXPECT_GT(window.keyboardNote()->y(), window.noteLabel()->geometry().bottom());
        EXPECT_GT(window.okButton()->y(), window.keyboardNote()->geometry().bottom());
        EXPECT_GE(window.keyboardNote()->height(), window.keyboardNote()->heightForWidth(window.keyboardNote()->width()));
        const QLabel* f12 = window.keyboardKeyLabel(KeyMapForm::kKeyboardPairCount - 1);
        EXPECT_LE(f12->geometry().bottom(), window.frame()->height()) << "F12 clipped";
        EXPECT_LE(window.okButton()->geometry().bottom(), window.height());
    }
    QApplication::setFont(standard);
}

TEST_F(KeyMapWindowTest, OkAndTheWindowFrameBothBringThePlayerBack) {
    QTest::mouseClick(window.okButton(), Qt::LeftButton);
    EXPECT_EQ(playerShown, 1);
    EXPECT_FALSE(model.window.visible);
    EXPECT_FALSE(window.isVisible());

    dispatcher.runHandler([this] { model.Show(); });
    ASSERT_TRUE(window.isVisible());
    window.close();
    EXPECT_EQ(playerShown, 2);
    EXPECT_FALSE(window.isVisible());

    // Return presses OK, as in any desktop dialog.
    dispatcher.runHandler([this] { model.Show(); });
    QTest::keyClick(&window, Qt::Key_Return);
    EXPECT_EQ(playerShown, 3);
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace vornel
