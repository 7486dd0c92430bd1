#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <string>
#include <vector>

#include "FakeOutput.h"
#include "platform/qt/QtDispatcher.h"
#include "settings/qt/SetupWindow.h"
#include "support/RecordingDialogs.h"

namespace vornel {
namespace {

QStringList itemsOf(const QComboBox* combo) {
    QStringList out;
    for (int i = 0; i < combo->count(); ++i) out << combo->itemText(i);
    return out;
}

// The setup window over a model on a fake component with two devices, loaded
// and shown as start-up does it: as one handler.
class SetupWindowTest : public ::testing::Test {
protected:
    SetupWindowTest() {
        model.relabellers.push_back(
            [this](const TextTable&, int lang) { otherWindowsLang = lang; });
        model.showPlayer = [this] { ++playerShown; };
        dispatcher.runHandler([this] {
            model.Form_Load();
            model.Show();
        });
    }

    std::string stored(const char* key) const { return settings.read("Setup", key); }

    Language language;
    MemorySettingsStore settings;
    test::FakeOutput output;
    test::RecordingDialogs dialogs;
    QtDispatcher dispatcher;
    MIDISetupForm model{language, settings, output, dialogs};
    SetupWindow window{model, dispatcher};
    int otherWindowsLang = -1;
    int playerShown = 0;
};

TEST_F(SetupWindowTest, ShowsBothListsAndTheTurkishCaptionsCentredOnTheScreen) {
    ASSERT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), QString("Aygıt ve Dil Seçimi"));
    EXPECT_EQ(window.languageLabel()->text(), QString("Dil"));
    EXPECT_EQ(window.deviceLabel()->text(), QString("MIDI Aygıtı"));
    EXPECT_EQ(window.okButton()->text(), QString("Tamam"));
    EXPECT_EQ(window.exitButton()->text(), QString("Çıkış"));
    EXPECT_EQ(itemsOf(window.languageList()), (QStringList{"Türkçe (Turkish)", "English"}));
    EXPECT_EQ(window.languageList()->currentIndex(), 0);
    EXPECT_EQ(itemsOf(window.deviceList()),
              (QStringList{"Built-in Synth", "USB Keyboard", "Virtual Port"}));
    EXPECT_EQ(window.deviceList()->currentIndex(), 0);

    // Lists 200 px wide with their labels to the left, the language list on
    // top; OK and Exit side by side below them, Exit at the right.
    EXPECT_EQ(window.languageList()->width(), SetupWindow::kListWidth);
    EXPECT_EQ(window.deviceList()->width(), SetupWindow::kListWidth);
    EXPECT_LT(window.languageLabel()->x(), window.languageList()->x());
    EXPECT_LT(window.languageList()->y(), window.deviceList()->y());
    EXPECT_EQ(window.okButton()->y(), window.exitButton()->y());
    EXPECT_LT(window.okButton()->x(), window.exitButton()->x());
    EXPECT_GT(window.okButton()->y(), window.deviceList()->y());

    const QRect screen = window.screen()->geometry();
    EXPECT_EQ(window.x(), screen.x() + (screen.width() - window.width()) / 2);
    EXPECT_EQ(window.y(), screen.y() + (screen.height() - window.height()) / 2);
}

// System port names can be far longer than the list is wide: the list keeps
// its width, and the name reads in full when the list is open and in the tip.
TEST(SetupWindowDeviceNames, ALongNameReadsInFullInTheOpenListAndTheToolTip) {
    const std::string longName = "Midi Through:Midi Through Port-0 14:0 (a rather long port name)";
    Language language;
    MemorySettingsStore settings;
    test::FakeOutput output;
    output.names = {"Built-in Synth", longName};
    output.count = 1;
    test::RecordingDialogs dialogs;
    QtDispatcher dispatcher;
    MIDISetupForm model{language, settings, output, dialogs};
    SetupWindow window{model, dispatcher};
    dispatcher.runHandler([&] {
        model.Form_Load();
        model.Show();
    });
    EXPECT_EQ(window.deviceList()->toolTip(), QString("Built-in Synth"));

    emit window.deviceList()->activated(1);
    EXPECT_EQ(window.deviceList()->width(), SetupWindow::kListWidth);
    EXPECT_GE(window.deviceList()->view()->minimumWidth(),
              window.deviceList()->view()->fontMetrics().horizontalAdvance(QString::fromStdString(longName)));
    EXPECT_GT(window.deviceList()->view()->minimumWidth(), SetupWindow::kListWidth);
    EXPECT_EQ(window.deviceList()->toolTip(), QString::fromStdString(longName));
}

TEST_F(SetupWindowTest, ChoosingEnglishRelabelsAtOnceByClickOrByKey) {
    emit window.languageList()->activated(1);
    EXPECT_EQ(window.windowTitle(), QString("Device and Language Selection"));
    EXPECT_EQ(window.languageLabel()->text(), QString("Language"));
    EXPECT_EQ(window.deviceLabel()->text(), QString("MIDI Device"));
    EXPECT_EQ(window.okButton()->text(), QString("Ok"));
    EXPECT_EQ(window.exitButton()->text(), QString("Exit"));
    EXPECT_EQ(otherWindowsLang, kLangEnglish);
    EXPECT_EQ(stored("Lang"), "1");

    // Stepping through the closed list with the keys applies each step.
    window.languageList()->setFocus();
    QTest::keyClick(window.languageList(), Qt::Key_Up);
    EXPECT_EQ(window.languageList()->currentIndex(), 0);
    EXPECT_EQ(window.windowTitle(), QString("Aygıt ve Dil Seçimi"));
    EXPECT_EQ(stored("Lang"), "0");
    QTest::keyClick(window.languageList(), Qt::Key_Down);
    EXPECT_EQ(window.okButton()->text(), QString("Ok"));
    EXPECT_EQ(stored("Lang"), "1");
}

TEST_F(SetupWindowTest, OkAppliesTheChosenDeviceAndHandsOverToThePlayer) {
    window.move(window.pos() + QPoint(13, 7));
    const QPoint moved = window.pos();
    emit window.deviceList()->activated(2);
    EXPECT_EQ(model.ComboMidiOut.ListIndex, 2);
    QTest::mouseClick(window.okButton(), Qt::LeftButton);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(playerShown, 1);
    EXPECT_EQ(output.openedDevice(), 1);
    EXPECT_EQ(stored("Dev"), "2");

    // Settings shows it again where it was, with its lists as they were.
    dispatcher.runHandler([this] { model.Show(); });
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.pos(), moved);
    EXPECT_EQ(window.deviceList()->currentIndex(), 2);
}

TEST_F(SetupWindowTest, EnterIsOkAndEscapeIsCancelOnceThePlayerIsUp) {
    QTest::keyClick(window.deviceList(), Qt::Key_Return);
    EXPECT_EQ(playerShown, 1);
    EXPECT_FALSE(window.isVisible());

    // From Settings, Escape and the frame's close both go back to the player.
    for (int way = 0; way < 2; ++way) {
        dispatcher.runHandler([this] { model.Show(); });
        ASSERT_TRUE(window.isVisible());
        if (way == 0)
            QTest::keyClick(window.languageList(), Qt::Key_Escape);
        else
            window.close();
        EXPECT_FALSE(window.isVisible());
        EXPECT_EQ(playerShown, 2 + way);
    }
    EXPECT_FALSE(dialogs.programEnded);
}

TEST_F(SetupWindowTest, EscapeAtTheFirstStartIsExit) {
    QTest::keyClick(&window, Qt::Key_Escape);
    EXPECT_TRUE(dialogs.programEnded);
    EXPECT_EQ(playerShown, 0);
}

TEST_F(SetupWindowTest, ClosingTheFrameEndsTheProgramAsExitDoes) {
    window.close();
    EXPECT_TRUE(dialogs.programEnded);
    EXPECT_EQ(dialogs.calls.size(), 1u);
    EXPECT_EQ(stored("Dev"), "");
    EXPECT_EQ(playerShown, 0);
}

}  // namespace
}  // namespace vornel
