#include <gtest/gtest.h>

#include <QDesktopServices>
#include <QLabel>
#include <QObject>
#include <QPushButton>
#include <QTest>
#include <QUrl>
#include <string>
#include <vector>

#include "platform/qt/QtDispatcher.h"
#include "settings/Language.h"
#include "support/RecordingDialogs.h"
#include "windows/qt/AboutWindow.h"

namespace vornel {

// Takes the addresses the desktop would hand to a browser, so no browser starts.
class UrlCatcher : public QObject {
    Q_OBJECT

public:
    std::vector<QUrl> urls;

public slots:
    void open(const QUrl& url) { urls.push_back(url); }
};

namespace {

class AboutWindowTest : public ::testing::Test {
protected:
    AboutWindowTest() {
        language.table.SetTheLangsQuery();
        QDesktopServices::setUrlHandler("https", &catcher, "open");
        QDesktopServices::setUrlHandler("http", &catcher, "open");
        model.showPlayer = [this] { ++playerShown; };
        relabelAndShow(kLangEnglish);
    }
    ~AboutWindowTest() override {
        QDesktopServices::unsetUrlHandler("https");
        QDesktopServices::unsetUrlHandler("http");
    }

    void relabelAndShow(int lang) {
        dispatcher.runHandler([this, lang] {
            model.relabel(language.table, lang);
            model.Show();
        });
    }

    UrlCatcher catcher;
    Language language;
    test::RecordingDialogs dialogs;
    QtDispatcher dispatcher;
    AboutForm model{dialogs};
    AboutWindow window{model, dispatcher};
    int playerShown = 0;
};

TEST_F(AboutWindowTest, ShowsTheTextsAndPlacesTheLinkWhereTheLanguageWantsIt) {
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), QString("Vornel - About"));
    EXPECT_EQ(window.nameLabel()->text(), QString("Vornel"));
    EXPECT_TRUE(window.nameLabel()->font().bold());
    EXPECT_GT(window.nameLabel()->font().pointSize(), window.mailLabel()->font().pointSize());
    EXPECT_EQ(window.mailLabel()->text(),
              QString("Questions and suggestions:   vornel@halvex.org"));
    EXPECT_EQ(window.webLink()->text(), QString("Web:   https://www.halvex.org/vornel"));
    EXPECT_EQ(window.okButton()->text(), QString("Ok"));
    EXPECT_EQ(window.webLink()->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_FALSE(window.image1()->pixmap().isNull());
    EXPECT_FALSE(window.image2()->pixmap().isNull());

    EXPECT_EQ(window.webLink()->x(), 2655 / 15);
    EXPECT_LE(window.webLink()->geometry().right(), window.width()) << "the whole link fits";
    relabelAndShow(kLangTurkish);
    EXPECT_EQ(window.windowTitle(), QString("Vornel - Hakkında"));
    EXPECT_EQ(window.okButton()->text(), QString("Tamam"));
    EXPECT_EQ(window.webLink()->x(), 1830 / 15);
}

TEST_F(AboutWindowTest, AClickOnTheLinkOpensTheWebSiteInTheBrowser) {
    QTest::mouseClick(window.webLink(), Qt::LeftButton);
    ASSERT_EQ(catcher.urls.size(), 1u);
    EXPECT_EQ(catcher.urls[0], QUrl("https://www.halvex.org/vornel"));
    EXPECT_EQ(dialogs.count(test::DialogCall::Kind::Beep), 0u);

    // A press that leaves the link before its release is no click.
    QTest::mousePress(window.webLink(), Qt::LeftButton);
    QTest::mouseRelease(window.webLink(), Qt::LeftButton, {}, QPoint(-5, -5));
    EXPECT_EQ(catcher.urls.size(), 1u);
}

TEST_F(AboutWindowTest, OnlyWebAddressesGoToTheBrowser) {
    EXPECT_TRUE(AboutWindow::openInBrowser("https://www.halvex.org/vornel"));
    for (const char* address :
         {"", "file:///etc/passwd", "explorer https://x", "https://exa mple.org"})
        EXPECT_FALSE(AboutWindow::openInBrowser(address)) << address;
    EXPECT_EQ(catcher.urls.size(), 1u);
}

TEST_F(AboutWindowTest, OkAndTheWindowFrameBothBringThePlayerBack) {
    QTest::mouseClick(window.okButton(), Qt::LeftButton);
    EXPECT_EQ(playerShown, 1);
    EXPECT_FALSE(window.isVisible());

    relabelAndShow(kLangTurkish);
    window.close();
    EXPECT_EQ(playerShown, 2);
    EXPECT_FALSE(model.window.visible);
    EXPECT_FALSE(window.isVisible());

    relabelAndShow(kLangTurkish);
    QTest::keyClick(&window, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(playerShown, 3);
    EXPECT_FALSE(window.isVisible());
}

}  // namespace
}  // namespace vornel

#include "AboutWindowTest.moc"
