#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QCursor>
#include <QGuiApplication>
#include <QMessageBox>
#include <QTimer>
#include <QWidget>
#include <functional>

#include "platform/qt/QtDialogs.h"
#include "support/BoxAnswerer.h"

namespace vornel {
namespace {

TEST(QtDialogsTest, MessageBoxShowsTextTitleAndIcon) {
    QtDispatcher ui;
    QtDialogs dialogs(ui);
    SeenBox seen;
    answerNextBox(seen, QMessageBox::Ok);
    dialogs.messageBox("Bu kısımda data yok", "Vornel", MessageIcon::Exclamation);
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.text, QString::fromUtf8("Bu kısımda data yok"));
    EXPECT_EQ(seen.title, QStringLiteral("Vornel"));
    EXPECT_EQ(seen.icon, QMessageBox::Warning);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));

    answerNextBox(seen, QMessageBox::Ok);
    dialogs.messageBox("plain", "t", MessageIcon::None);
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
}

TEST(QtDialogsTest, QuestionAnswersYesOrNo) {
    QtDispatcher ui;
    QtDialogs dialogs(ui);
    SeenBox seen;
    answerNextBox(seen, QMessageBox::Yes);
    EXPECT_TRUE(dialogs.askYesNo("Are you sure?", "Vornel - Exit (?)"));
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.title, QStringLiteral("Vornel - Exit (?)"));
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);

    answerNextBox(seen, QMessageBox::No);
    EXPECT_FALSE(dialogs.askYesNo("Çıkmak istediğinizden emin misiniz?", "Vornel"));
    EXPECT_EQ(seen.text, QString::fromUtf8("Çıkmak istediğinizden emin misiniz?"));
}

// A handler that hides its window and then reports something: the window is
// gone before the box appears, and the box does not take it as its parent.
TEST(QtDialogsTest, ABoxShowsOverTheWindowsAsTheHandlerLeftThem) {
    QtDispatcher ui;
    QtDialogs dialogs(ui);
    QWidget window;
    bool modelVisible = true;
    ui.addAfterHandlerHook([&] { window.setVisible(modelVisible); });
    window.show();
    window.activateWindow();

    SeenBox seen;
    bool windowVisibleAtBox = true;
    QWidget* boxParent = &window;
    answerNextBox(seen, QMessageBox::Ok, [&](QMessageBox& box) {
        windowVisibleAtBox = window.isVisible();
        boxParent = box.parentWidget();
    });
    ui.runHandler([&] {
        modelVisible = false;
        dialogs.messageBox("Yardım dosyası bulunamadı", "Vornel", MessageIcon::Exclamation);
    });
    ASSERT_TRUE(seen.seen);
    EXPECT_FALSE(windowVisibleAtBox);
    EXPECT_EQ(boxParent, nullptr);
}

TEST(QtDialogsTest, WaitPointerIsOnOrOffNotCounted) {
    QtDispatcher ui;
    QtDialogs dialogs(ui);
    ASSERT_EQ(QGuiApplication::overrideCursor(), nullptr);
    dialogs.setWaitCursor(true);
    dialogs.setWaitCursor(true);
    ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
    EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    dialogs.setWaitCursor(false);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    dialogs.setWaitCursor(false);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(QtDialogsTest, AWaitPointerLeftOnGoesWithTheDialogs) {
    QtDispatcher ui;
    {
        QtDialogs dialogs(ui);
        dialogs.setWaitCursor(true);
    }
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST(QtDialogsTest, FocusAndRepaintGoToTheWindowThatSetThem) {
    QtDispatcher ui;
    QtDialogs dialogs(ui);
    dialogs.focusKeyboardSink();  // nothing set yet: nothing happens
    dialogs.repaintNow();
    int focus = 0, repaint = 0;
    dialogs.onFocusKeyboardSink = [&] { ++focus; };
    dialogs.onRepaintNow = [&] { ++repaint; };
    dialogs.focusKeyboardSink();
    dialogs.repaintNow();
    dialogs.repaintNow();
    EXPECT_EQ(focus, 1);
    EXPECT_EQ(repaint, 2);
}

TEST(QtDialogsTest, EndingTheProgramHidesEveryWindowAndStopsAllHandlers) {
    QtDispatcher ui;
    QtDialogs dialogs(ui);
    QWidget window;
    window.show();
    bool cueRan = false;
    ui.post([&] { cueRan = true; });
    dialogs.setWaitCursor(true);
    ui.runHandler([&] { dialogs.endProgram(); });
    QCoreApplication::processEvents();
    EXPECT_FALSE(window.isVisible());
    EXPECT_FALSE(cueRan);
    EXPECT_TRUE(ui.ended());
    EXPECT_FALSE(ui.runHandler([] {}));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

}  // namespace
}  // namespace vornel
