#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollBar>
#include <QTest>
#include <string>
#include <vector>

#include "midi/file/Midifile.h"
#include "midi/output/MIDIOutput.h"
#include "platform/Timer.h"
#include "player/qt/LiveInputBar.h"
#include "player/qt/PlayerWindow.h"
#include "settings/Language.h"
#include "style/StyleData.h"
#include "support/RecordingPort.h"

namespace vornel {
namespace {

// Records the questions and answers as the test says. Focus and ending act on
// the window and the dispatcher as the Qt dialogs would.
class AnsweringDialogs final : public Dialogs {
public:
    void messageBox(const std::string& text, const std::string&, MessageIcon) override { messages.push_back(text); }
    bool askYesNo(const std::string& text, const std::string& title) override {
        questions.push_back({text, title});
        return answerYes;
    }
    void beep() override {}
    void setWaitCursor(bool) override {}
    void focusKeyboardSink() override {
        if (onFocus) onFocus();
    }
    void repaintNow() override {
        if (onRepaint) onRepaint();
    }
    void endProgram() override {
        ++ends;
        if (onEnd) onEnd();
    }

    struct Question {
        std::string text, title;
    };
    bool answerYes = false;
    std::vector<Question> questions;
    std::vector<std::string> messages;
    int ends = 0;
    std::function<void()> onFocus, onRepaint, onEnd;
};

class PlayerWindowTest : public ::testing::Test {
protected:
    PlayerWindowTest() {
        language.table.SetTheLangsQuery();
        dialogs.onFocus = [this] { window.focusKeyboardSink(); };
        dialogs.onRepaint = [this] { window.repaintNow(); };
        dialogs.onEnd = [this] {
            ui.endProgram();
            window.hide();
        };
        ui.runHandler([this] {
            player.Form_Load();
            output.PortNumber(0);
            output.PortCommand(MIDIOutput::OpenPort);
        });
    }

    // What loading leaves enabled: Play, every part button, chord label and switch.
    void styleLoaded() {
        ui.runHandler([this] {
            state().Cmd_Play.enabled = true;
            for (auto& b : state().Cmd_Part) b.enabled = true;
            for (auto& l : state().Lbl_Chord) l.enabled = true;
            for (auto& s : state().Cmd_DisCh) s.enabled = true;
        });
    }

    PlayerState& state() { return player.state(); }
    QColor colour(Rgb c) { return QColor(c.r, c.g, c.b); }
    std::vector<test::SentMessage> sent() { return ports.log->snapshot(); }
    bool sentMessage(int status, int d1, int d2) {
        for (const auto& m : sent())
            if (m.message.status == status && m.message.data1 == d1 && m.message.data2 == d2) return true;
        return false;
    }

    QtDispatcher ui;
    ManualClock clock;
    test::RecordingPortProvider ports{clock};
    MIDIOutput output{ports, ui, clock, MIDIOutput::Drive::Manual};
    Midifile reader;
    StyleData style;
    Language language;
    AnsweringDialogs dialogs;
    ManualTimer timer1{250}, timer2{55, true}, timer3{250};
    Player player{reader, output, style, language, dialogs, timer1, timer2, timer3};
    PlayerWindow window{player, ui};
};

TEST_F(PlayerWindowTest, ShowsTheWindowAsCreated) {
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Vornel"));
    ASSERT_NE(window.centralWidget(), nullptr);
    EXPECT_EQ(window.centralWidget()->size(), QSize(536, 442));

    const QStringList captions{"Aç ..", "Panik", "Ayarlar", "Harita", "Hakkında", "Yardım", "     - Çıkış -     ",
                               "Oynat", "Durdur"};
    const QList<QAction*> bar = window.menuBar()->actions();
    ASSERT_EQ(bar.size(), 9);
    for (int i = 0; i < 9; ++i) {
        EXPECT_EQ(bar[i]->text(), captions[i]);
        EXPECT_EQ(bar[i]->menu(), nullptr);  // plain commands
        EXPECT_EQ(bar[i]->isEnabled(), i < 7) << i;
    }
    EXPECT_EQ(window.styleFrame().title(), QStringLiteral("Stil"));
    EXPECT_EQ(window.chordsFrame().title(), QStringLiteral("Akorlar"));
    EXPECT_EQ(window.fileFrame().title(), QStringLiteral("Dosya"));
    EXPECT_EQ(window.styleFrame().button(16).text(), QStringLiteral("Fill In AB"));
    EXPECT_FALSE(window.styleFrame().button(16).isEnabled());
    EXPECT_EQ(window.chordsFrame().label(13).caption(), QStringLiteral("C#"));
    EXPECT_EQ(window.chordsFrame().label(13).colour(), QColor(Qt::black));
    EXPECT_EQ(window.channelPanel().name(2).text(), QStringLiteral("Bass"));
    EXPECT_EQ(window.channelPanel().channelSwitch(2).toolTip(), QStringLiteral(" Açık / Kapalı "));
    EXPECT_EQ(window.channelPanel().channelSwitch(2).colour(), colour(state().ColOn));
    EXPECT_EQ(window.channelPanel().tempoLabel().text(), QStringLiteral("Tempo Modify"));
    EXPECT_EQ(window.channelPanel().tempo().minimum(), -100);
    EXPECT_EQ(window.channelPanel().tempo().maximum(), 100);
    EXPECT_EQ(window.channelPanel().meter(7).length(), 132);  // full at creation
    EXPECT_EQ(window.fileFrame().caption(5).text(), QStringLiteral("Veri sayısı"));
    EXPECT_EQ(window.fileFrame().value(0).text(), QStringLiteral("-"));
    EXPECT_EQ(window.label4().text(), QStringLiteral("--------------"));
}

TEST_F(PlayerWindowTest, PartButtonsSitInTheirGrid) {
    EXPECT_EQ(StyleFrame::cellOf(0), QPoint(0, 0));   // Intro A
    EXPECT_EQ(StyleFrame::cellOf(7), QPoint(0, 1));   // Intro B
    EXPECT_EQ(StyleFrame::cellOf(6), QPoint(1, 1));   // Main B
    EXPECT_EQ(StyleFrame::cellOf(12), QPoint(3, 3));  // Ending D
    EXPECT_EQ(StyleFrame::cellOf(16), QPoint(2, 4));  // Fill In AB under the fills
    EXPECT_EQ(StyleFrame::cellOf(17), QPoint(2, 5));
    StyleFrame& f = window.styleFrame();
    EXPECT_LT(f.button(0).x(), f.button(1).x());
    EXPECT_EQ(f.button(2).x(), f.button(16).x());
    EXPECT_LT(f.button(13).y(), f.button(16).y());
}

TEST_F(PlayerWindowTest, AClickOnAPartButtonChoosesThePart) {
    styleLoaded();
    QTest::mouseClick(&window.styleFrame().button(6), Qt::LeftButton);
    EXPECT_EQ(state().engine.CurPart, 7);
    EXPECT_EQ(state().engine.PartName, "Main B");
    for (int i = 0; i < 18; ++i)
        EXPECT_EQ(window.styleFrame().button(i).colour(), colour(i == 6 ? state().ColSelected : state().ColNormal));
    // The colour is what the button shows.
    const QImage shown = window.styleFrame().button(6).grab().toImage();
    EXPECT_EQ(shown.pixelColor(4, 4), colour(state().ColSelected));
    EXPECT_EQ(window.focusWidget(), &window.keyboardSink());
}

TEST_F(PlayerWindowTest, ADisabledPartButtonDoesNothing) {
    QTest::mouseClick(&window.styleFrame().button(1), Qt::LeftButton);
    EXPECT_EQ(state().engine.CurPart, -1);
    EXPECT_EQ(window.styleFrame().button(1).colour(), colour(state().ColNormal));
}

TEST_F(PlayerWindowTest, AClickOnAChordLabelChoosesTheChord) {
    styleLoaded();
    state().engine.ChordChange = ChordChangeMode::NextBarLine;  // the chord that waits for the bar line blinks
    QTest::mouseClick(&window.chordsFrame().label(21), Qt::LeftButton);
    EXPECT_EQ(state().engine.ChordIdx, 21);
    EXPECT_EQ(state().engine.Transpose, -3);
    EXPECT_EQ(state().engine.IsMinor, 1);
    EXPECT_TRUE(timer3.running());
    EXPECT_EQ(window.chordsFrame().label(21).colour(), colour(state().ColSelected));
    EXPECT_EQ(window.chordsFrame().label(0).colour(), QColor(Qt::white));

    // The blink reaches the screen with the timer's tick.
    ui.runHandler([this] { timer3.tick(); });
    EXPECT_EQ(window.chordsFrame().label(21).colour(), colour(state().ColBlink));
    ui.runHandler([this] { timer3.tick(); });
    EXPECT_EQ(window.chordsFrame().label(21).colour(), QColor(Qt::white));
}

TEST_F(PlayerWindowTest, SharpKeysLieOverTheGapsBetweenNaturalKeys) {
    ChordKey& c = window.chordsFrame().label(0);
    ChordKey& cSharp = window.chordsFrame().label(1);
    ChordKey& d = window.chordsFrame().label(2);
    QWidget* keyboard = c.parentWidget();
    const int gap = c.geometry().right() + 1;
    EXPECT_EQ(keyboard->childAt(gap, 10), &cSharp);  // upper half: the black key
    EXPECT_EQ(keyboard->childAt(gap - 1, 50), &c);   // lower half: the white keys
    EXPECT_EQ(keyboard->childAt(gap + 1, 50), &d);
    EXPECT_EQ(c.size(), QSize(34, 55));       // 510 x 825 twips
    EXPECT_EQ(d.size(), QSize(31, 55));       // 465 x 825
    EXPECT_EQ(cSharp.size(), QSize(19, 40));  // 285 x 600
    // The major keyboard left of the minor one.
    EXPECT_LT(window.chordsFrame().label(11).mapTo(&window, QPoint()).x(),
              window.chordsFrame().label(12).mapTo(&window, QPoint()).x());
}

TEST_F(PlayerWindowTest, AChannelSwitchMutesAndUnmutesItsChannel) {
    styleLoaded();
    ColourButton& bass = window.channelPanel().channelSwitch(2);
    QTest::mouseClick(&bass, Qt::LeftButton);
    EXPECT_TRUE(sentMessage(186, 11, 0));
    EXPECT_EQ(bass.colour(), colour(state().ColOff));
    QTest::mouseClick(&bass, Qt::LeftButton);
    EXPECT_TRUE(sentMessage(186, 11, 127));
    EXPECT_EQ(bass.colour(), colour(state().ColOn));
    EXPECT_EQ(window.focusWidget(), &window.keyboardSink());
}

TEST_F(PlayerWindowTest, TheMetersSwitchShowsItsState) {
    QTest::mouseClick(&window.channelPanel().metersSwitch(), Qt::LeftButton);
    EXPECT_EQ(state().MetersOff, -1);
    EXPECT_EQ(window.channelPanel().metersSwitch().colour(), colour(state().ColOff));
}

TEST_F(PlayerWindowTest, KeysChooseChordsAndSwitchChannels) {
    styleLoaded();
    KeyboardSink& sink = window.keyboardSink();
    QTest::keyClick(&sink, Qt::Key_H, Qt::ShiftModifier);
    EXPECT_EQ(state().engine.ChordIdx, 21);
    EXPECT_EQ(window.chordsFrame().label(21).colour(), colour(state().ColSelected));
    QTest::keyClick(&sink, Qt::Key_H, Qt::ControlModifier);
    EXPECT_EQ(state().engine.ChordIdx, 9);
    EXPECT_EQ(window.chordsFrame().label(9).colour(), colour(state().ColSelected));
    EXPECT_EQ(window.chordsFrame().label(21).colour(), QColor(Qt::white));
    QTest::keyClick(&sink, Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_TRUE(sentMessage(186, 11, 0));
    EXPECT_EQ(window.channelPanel().channelSwitch(2).colour(), colour(state().ColOff));
    QTest::keyClick(&sink, Qt::Key_F9);
    EXPECT_EQ(window.channelPanel().metersSwitch().colour(), colour(state().ColOff));
}

// On X11 the key's position counts: with a German layout the key right of T
// prints Z and still chooses Ab.
TEST_F(PlayerWindowTest, KeysArriveByTheirPositionWhereScanCodesAreKnown) {
    styleLoaded();
    KeyboardSink& sink = window.keyboardSink();
    sink.setScanCodes(PhysicalKeys::ScanCodes::Xkb);
    QKeyEvent press(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, 29, 0, 0, QStringLiteral("z"));
    QApplication::sendEvent(&sink, &press);
    EXPECT_EQ(state().engine.ChordIdx, 8);
}

// A held F-key switches its channel once, however long the key repeats.
TEST_F(PlayerWindowTest, AHeldKeySwitchesItsChannelOnce) {
    styleLoaded();
    KeyboardSink& sink = window.keyboardSink();
    for (bool repeat : {false, true, true, true}) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier, QString(), repeat);
        QApplication::sendEvent(&sink, &press);
    }
    EXPECT_EQ(window.channelPanel().channelSwitch(2).colour(), colour(state().ColOff));
    EXPECT_TRUE(sentMessage(186, 11, 0));
    EXPECT_FALSE(sentMessage(186, 11, 127));
}

TEST_F(PlayerWindowTest, WithoutAStyleKeysAreIgnored) {
    QTest::keyClick(&window.keyboardSink(), Qt::Key_H);
    QTest::keyClick(&window.keyboardSink(), Qt::Key_F3);
    EXPECT_EQ(state().engine.ChordIdx, 0);
    EXPECT_FALSE(sentMessage(186, 11, 0));
}

// Only the keyboard sink and the scroll bars ever take the focus; every other
// control leaves it where it is, so the letter keys keep working.
TEST_F(PlayerWindowTest, OnlyTheKeyboardSinkAndTheScrollBarsTakeTheFocus) {
    for (QWidget* w : window.findChildren<QWidget*>()) {
        if (w == &window.keyboardSink() || w == &window.channelPanel().tempo() ||
            w == &window.channelPanel().master()) {
            EXPECT_NE(w->focusPolicy(), Qt::NoFocus);
            continue;
        }
        EXPECT_EQ(w->focusPolicy() & Qt::ClickFocus, 0) << w->metaObject()->className();
    }
    EXPECT_EQ(window.focusWidget(), &window.keyboardSink());
    for (QWidget* clickable :
         std::initializer_list<QWidget*>{&window.chordsFrame().label(3), &window.channelPanel().tempoLabel(),
                                         &window.channelPanel().masterLabel(), &window.channelPanel().channelSwitch(0)})
        EXPECT_EQ(clickable->cursor().shape(), Qt::PointingHandCursor);
}

// The scroll bar keeps the focus once clicked, for its arrows, and shows it;
// the letter and function keys play all the same.
TEST_F(PlayerWindowTest, AfterTheScrollBarIsUsedItsArrowsMoveTheTempoAndTheLettersStillPlay) {
    styleLoaded();
    // Focus events reach only the active window.
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    QScrollBar& tempo = window.channelPanel().tempo();
    QTest::mouseClick(&tempo, Qt::LeftButton, {}, QPoint(tempo.width() - 4, tempo.height() / 2));  // right arrow
    EXPECT_EQ(state().engine.TempoShift, 1);
    ASSERT_EQ(window.focusWidget(), &tempo);
    EXPECT_TRUE(window.channelPanel().tempoFocusFrame().isVisible());
    QTest::keyClick(window.focusWidget(), Qt::Key_Right);
    EXPECT_EQ(state().engine.TempoShift, 2);
    QTest::keyClick(window.focusWidget(), Qt::Key_F3);
    EXPECT_TRUE(sentMessage(186, 11, 0));
    QTest::keyClick(window.focusWidget(), Qt::Key_H);
    EXPECT_EQ(state().engine.ChordIdx, 9);
    EXPECT_EQ(state().engine.TempoShift, 2);
}

// One stray Tab must not leave the chord keys dead.
TEST_F(PlayerWindowTest, TabLeavesTheFocusWithTheChordKeys) {
    styleLoaded();
    QTest::keyClick(&window.keyboardSink(), Qt::Key_Tab);
    QTest::keyClick(&window.keyboardSink(), Qt::Key_Backtab);
    EXPECT_EQ(window.focusWidget(), &window.keyboardSink());
    QTest::keyClick(window.focusWidget(), Qt::Key_D);
    EXPECT_EQ(state().engine.ChordIdx, 4);
    EXPECT_EQ(window.channelPanel().tempo().focusPolicy() & Qt::TabFocus, 0);
}

TEST_F(PlayerWindowTest, TheTempoReadoutFollowsTheThumbWhileItIsDragged) {
    QScrollBar& tempo = window.channelPanel().tempo();
    tempo.setSliderDown(true);
    tempo.setSliderPosition(20);
    EXPECT_EQ(state().engine.TempoShift, 20);
    EXPECT_EQ(window.channelPanel().tempoReadout().text(), QStringLiteral("+20"));
    tempo.setSliderDown(false);
}

// The chord change serves clicks and the computer keyboard too: its button
// works with no input device and no style, and Alt + C presses it.
TEST_F(PlayerWindowTest, TheChordChangeButtonGoesRoundItsChoices) {
    auto* bar = new LiveInputBar(player, ui, &window);
    window.addToolBar(Qt::BottomToolBarArea, bar);
    ui.runHandler([this] {
        language.LangNo = kLangEnglish;
        player.relabel(language.table, kLangEnglish);
    });
    QPushButton& button = bar->chordChangeButton();
    EXPECT_EQ(button.text(), QStringLiteral("at once"));
    EXPECT_TRUE(button.toolTip().startsWith(QStringLiteral("Chord change:")));
    QTest::mouseClick(&button, Qt::LeftButton);
    EXPECT_EQ(state().engine.ChordChange, ChordChangeMode::NextBeat);
    EXPECT_EQ(button.text(), QStringLiteral("next beat"));
    EXPECT_EQ(window.focusWidget(), &window.keyboardSink());
    styleLoaded();
    QTest::keyClick(&window.keyboardSink(), Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(state().engine.ChordChange, ChordChangeMode::NextBarLine);
    EXPECT_EQ(button.text(), QStringLiteral("next bar"));
}

// Six controls under a window of fixed width: the voice list gives way, so
// that no caption widens the window.
TEST_F(PlayerWindowTest, TheKeyboardBarFitsTheWindowInBothLanguagesWithEveryChoice) {
    auto* bar = new LiveInputBar(player, ui, &window);
    window.addToolBar(Qt::BottomToolBarArea, bar);
    for (const int lang : {kLangTurkish, kLangEnglish}) {
        ui.runHandler([this, lang] {
            language.LangNo = lang;
            player.relabel(language.table, lang);
        });
        for (int mode = 0; mode < 2; ++mode) {
            for (int change = 0; change < 3; ++change) {
                ui.runHandler([this] { player.Cmd_ChordChange_Click(); });
                EXPECT_LE(bar->sizeHint().width(), PlayerWindow::kClientWidth)
                    << lang << " " << state().Cmd_ChordMode.caption << " " << state().Cmd_ChordChange.caption;
            }
            ui.runHandler([this] { player.Cmd_ChordMode_Click(); });
        }
    }
}

TEST_F(PlayerWindowTest, TheStatusLineSaysWhenThereIsNoSound) {
    ui.runHandler([this] { player.deviceApplied({DeviceReport::State::Failed, true, "FluidSynth"}); });
    EXPECT_TRUE(window.statusLine().isVisible());
    EXPECT_EQ(window.statusLine().toolTip(),
              QStringLiteral("Ses yok: ses çıkışı bulunamadı. Ayarlar'dan başka bir aygıt seçin."));
    EXPECT_TRUE(window.statusLine().text().startsWith(QStringLiteral("Ses yok")));
    EXPECT_EQ(window.statusLine().palette().color(QPalette::WindowText), QColor(176, 0, 0));
}

// The window system may place a window anew each time it is mapped (here the
// move while hidden stands in for it): it comes back where the user left it.
TEST_F(PlayerWindowTest, TheWindowComesBackWhereItWasLeft) {
    window.move(123, 77);
    const QPoint left = window.pos();
    player.windows.showAbout = [] {};
    ui.runHandler([this] { player.Cmd_About_Click(); });
    ASSERT_FALSE(window.isVisible());
    window.move(0, 0);
    ui.runHandler([this] { player.Show(); });
    EXPECT_EQ(window.pos(), left);
}

TEST_F(PlayerWindowTest, TheScrollBarSetsTheTempoAndTheLabelResetsIt) {
    output.PortCommand(MIDIOutput::StartQueue);
    QScrollBar& tempo = window.channelPanel().tempo();
    QTest::keyClick(&tempo, Qt::Key_Right);  // one step to the right: faster
    EXPECT_EQ(state().engine.TempoShift, 1);
    QTest::keyClick(&tempo, Qt::Key_PageDown);  // a page is five
    EXPECT_EQ(state().engine.TempoShift, -4);
    EXPECT_EQ(tempo.value(), -4);

    // Showing a value the model holds is not a change by the user: the
    // component keeps the tempo the handlers gave it.
    ui.runHandler([this] { state().engine.TempoShift = 40; });
    EXPECT_EQ(tempo.value(), 40);
    const double before = output.queueTimeMs();
    clock.advance(1000);
    EXPECT_NEAR(output.queueTimeMs() - before, 1000.0 * std::exp2(-4 / 100.0), 1e-6);

    QTest::mouseClick(&window.channelPanel().tempoLabel(), Qt::LeftButton);
    EXPECT_EQ(state().engine.TempoShift, 0);
    EXPECT_EQ(tempo.value(), 0);
}

TEST_F(PlayerWindowTest, EveryControlFollowsTheState) {
    ui.runHandler([this] {
        PlayerState& s = state();
        s.window.caption = "Vornel - test";
        s.Cmd_Open.caption = "Open ..";
        s.Cmd_Open.enabled = false;
        s.Cmd_Help.visible = false;
        s.Frm_Style.caption = "Style";
        s.Frm_File.caption = "File";
        s.Lbl_Name.caption = "Pop <b>8</b> & Beat";
        s.Lbl_Loading.caption = "loading ...";
        s.Lbl_Loading.visible = false;
        s.Label4.caption = "Main A";
        s.Label7.caption = "/styles/pop.sty";
        s.Cmd_DisCh[4].toolTip = " On / Off ";
        s.Cmd_DisCh[4].enabled = true;
        s.Command1.toolTip = " Volume meters - On / Off ";
        s.Cmd_Part[3].colour = s.ColBlink;
        s.Lbl_Chord[5].visible = false;
        s.ProgressBar2[9] = 997.8f;
        s.ProgressBar2[10] = -40.0f;
        s.ProgressBar2[11] = 5000.0f;
    });
    EXPECT_EQ(window.windowTitle(), QStringLiteral("Vornel - test"));
    EXPECT_EQ(window.command(PlayerWindow::Command::Open).text(), QStringLiteral("Open .."));
    EXPECT_FALSE(window.command(PlayerWindow::Command::Open).isEnabled());
    EXPECT_FALSE(window.command(PlayerWindow::Command::Help).isVisible());
    EXPECT_EQ(window.styleFrame().title(), QStringLiteral("Style"));
    EXPECT_EQ(window.fileFrame().title(), QStringLiteral("File"));
    EXPECT_EQ(window.fileFrame().value(0).text(), QStringLiteral("Pop <b>8</b> & Beat"));
    EXPECT_EQ(window.fileFrame().value(0).textFormat(), Qt::PlainText);
    EXPECT_TRUE(window.loadingLabel().isHidden());
    EXPECT_EQ(window.label4().text(), QStringLiteral("Main A"));
    EXPECT_EQ(window.fileFrame().label7().text(), QStringLiteral("/styles/pop.sty"));
    EXPECT_EQ(window.channelPanel().channelSwitch(4).toolTip(), QStringLiteral(" On / Off "));
    EXPECT_TRUE(window.channelPanel().channelSwitch(4).isEnabled());
    EXPECT_EQ(window.channelPanel().metersSwitch().toolTip(), QStringLiteral(" Volume meters - On / Off "));
    EXPECT_EQ(window.styleFrame().button(3).colour(), colour(state().ColBlink));
    EXPECT_TRUE(window.chordsFrame().label(5).isHidden());
    EXPECT_EQ(window.channelPanel().meter(0).length(), 66);
    EXPECT_EQ(window.channelPanel().meter(1).length(), 0);
    EXPECT_EQ(window.channelPanel().meter(2).length(), 132);
}

TEST_F(PlayerWindowTest, MetersFallOnScreenWithTheTimer) {
    ui.runHandler([this] { timer2.tick(); });
    EXPECT_EQ(window.channelPanel().meter(0).length(), 123);  // (1980 - 8 x 1980/127) / 15
    for (int i = 0; i < 15; ++i) ui.runHandler([this] { timer2.tick(); });
    for (int row = 0; row < 8; ++row) EXPECT_EQ(window.channelPanel().meter(row).length(), 0);
}

TEST_F(PlayerWindowTest, ARepaintInsideAHandlerShowsTheStateAtOnce) {
    QString seen;
    ui.runHandler([&] {
        state().Lbl_Loading.caption = "yükleniyor ...";
        dialogs.repaintNow();
        seen = window.loadingLabel().text();
        state().Lbl_Loading.caption = "";
    });
    EXPECT_EQ(seen, QStringLiteral("yükleniyor ..."));
    EXPECT_EQ(window.loadingLabel().text(), QString());
}

TEST_F(PlayerWindowTest, HidingAndShowingFollowTheModel) {
    player.windows.showAbout = [] {};
    ui.runHandler([this] { player.Cmd_About_Click(); });
    EXPECT_FALSE(window.isVisible());
    ui.runHandler([this] { player.Show(); });
    EXPECT_TRUE(window.isVisible());
}

TEST_F(PlayerWindowTest, ClosingAsksAndNoKeepsTheWindowOpen) {
    dialogs.answerYes = false;
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].text, "Çıkmak istediğinizden emin misiniz?");
    EXPECT_EQ(dialogs.questions[0].title, "Vornel");
    EXPECT_EQ(dialogs.ends, 0);
    EXPECT_EQ(ports.log->closes, 0);
    // The window still answers.
    QTest::mouseClick(&window.channelPanel().metersSwitch(), Qt::LeftButton);
    EXPECT_EQ(state().MetersOff, -1);
}

TEST_F(PlayerWindowTest, YesClosesTheDeviceAndEndsTheProgram) {
    dialogs.answerYes = true;
    language.LangNo = kLangEnglish;
    EXPECT_TRUE(window.close());
    EXPECT_FALSE(window.isVisible());
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.questions[0].title, "Vornel - Exit (?)");
    EXPECT_EQ(dialogs.ends, 1);
    EXPECT_EQ(ports.log->closes, 1);
    // Nothing runs any more.
    window.show();
    QTest::mouseClick(&window.channelPanel().metersSwitch(), Qt::LeftButton);
    EXPECT_EQ(state().MetersOff, 0);
}

TEST_F(PlayerWindowTest, TheExitCommandAsksTheSameQuestion) {
    window.command(PlayerWindow::Command::Exit).trigger();
    ASSERT_EQ(dialogs.questions.size(), 1u);
    EXPECT_EQ(dialogs.ends, 0);
    EXPECT_TRUE(window.isVisible());
    dialogs.answerYes = true;
    window.command(PlayerWindow::Command::Exit).trigger();
    EXPECT_EQ(dialogs.ends, 1);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(PlayerWindowTest, ClosingWhilePlayingIsRefusedSilently) {
    ui.runHandler([this] { state().engine.Playing = 1; });
    EXPECT_FALSE(window.close());
    EXPECT_TRUE(window.isVisible());
    EXPECT_TRUE(dialogs.questions.empty());
}

// A message box of a handler turns the event loop; a close request that
// arrives then must not run a second handler inside the first.
TEST_F(PlayerWindowTest, NoCloseRequestRunsInsideAnotherHandler) {
    bool closed = true;
    ui.runHandler([&] { closed = window.close(); });
    EXPECT_FALSE(closed);
    EXPECT_TRUE(dialogs.questions.empty());
    EXPECT_TRUE(window.isVisible());
}

}  // namespace
}  // namespace vornel
