#include <gtest/gtest.h>

#include <QPushButton>
#include <QTest>
#include <QTextBrowser>
#include <string>

#include "platform/qt/QtDispatcher.h"
#include "rtf/RtfTestText.h"
#include "support/RecordingDialogs.h"
#include "windows/qt/HelpWindow.h"

namespace vornel {
namespace {

// The help window over its model, prepared and shown the way the setup
// window's OK and the player's Help command do it: as handlers.
class HelpWindowTest : public ::testing::Test {
protected:
    HelpWindowTest() {
        language.table.SetTheLangsQuery();
        language.LangNo = kLangEnglish;
        model.showPlayer = [this] { ++playerShown; };
        dispatcher.runHandler([this] {
            model.prepareDocument();
            model.showFromPlayer("Help");
        });
    }

    Language language;
    test::RecordingDialogs dialogs;
    QtDispatcher dispatcher;
    RichText next = test::documentOf("Open a style with Open, then press Play.");
    HelpForm model{language, dialogs, "/opt/vornel", [this](const std::string&) {
                       return RtfResult{RtfStatus::Ok, next};
                   }};
    HelpWindow window{model, dispatcher};
    int playerShown = 0;
};

TEST_F(HelpWindowTest, ShowsTheTitleTheDocumentAndTheColoursOfTheModel) {
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), QString("Vornel - Help"));
    EXPECT_EQ(window.okButton()->text(), QString("Ok"));
    EXPECT_EQ(window.documentArea()->toPlainText(),
              QString("Open a style with Open, then press Play."));
    EXPECT_TRUE(window.documentArea()->isReadOnly());
    EXPECT_EQ(window.documentArea()->palette().color(QPalette::Base), QColor(0xFF, 0xFF, 0xFF));
    // Uncoloured text stays readable on the white page under a dark theme.
    EXPECT_EQ(window.documentArea()->palette().color(QPalette::Text), QColor(0, 0, 0));
    EXPECT_EQ(window.palette().color(QPalette::Window), QColor(0x40, 0x40, 0x40));

    // A new document reaches the view with the next handler.
    next = test::documentOf("Bir stil açın, sonra Oynat'a basın.");
    dispatcher.runHandler([this] { model.prepareDocument(); });
    EXPECT_EQ(window.documentArea()->toPlainText(), QString("Bir stil açın, sonra Oynat'a basın."));
}

TEST_F(HelpWindowTest, OkAndTheWindowFrameBothBringThePlayerBack) {
    QTest::mouseClick(window.okButton(), Qt::LeftButton);
    EXPECT_EQ(playerShown, 1);
    EXPECT_FALSE(model.window.visible);
    EXPECT_FALSE(window.isVisible());

    dispatcher.runHandler([this] { model.showFromPlayer("Help"); });
    ASSERT_TRUE(window.isVisible());
    window.close();
    EXPECT_EQ(playerShown, 2);
    EXPECT_FALSE(model.window.visible);
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace vornel
