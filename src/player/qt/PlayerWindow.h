#pragma once

#include <QAction>
#include <QFrame>
#include <QLabel>
#include <QMainWindow>
#include <array>
#include <functional>

#include "platform/qt/QtDispatcher.h"
#include "player/Player.h"
#include "player/qt/ChannelPanel.h"
#include "player/qt/ChordsFrame.h"
#include "player/qt/FileFrame.h"
#include "player/qt/KeyboardSink.h"
#include "player/qt/StyleFrame.h"

namespace vornel {

// The player window on screen. It draws the player model's state and hands
// every click, key and close request to the model's handler of that name; it
// decides nothing itself. After every handler (its own, a timer tick, a
// component event, another window's) it re-reads the whole state.
class PlayerWindow final : public QMainWindow {
    Q_OBJECT

public:
    // The command bar, in its order on screen.
    enum class Command { Open, Panic, Settings, Map, About, Help, Exit, Play, Stop };
    static constexpr int kCommandCount = 9;
    // The client area below the command bar: 8040 x 6360 twips.
    static constexpr int kClientWidth = 536;
    static constexpr int kClientHeight = 442;

    PlayerWindow(Player& player, QtDispatcher& dispatcher, QWidget* parent = nullptr);
    ~PlayerWindow() override;

    // Shows every control's state, the window's visibility included.
    void sync();
    // sync() and paints at once, for a handler that keeps the thread busy.
    void repaintNow();
    // Gives the keyboard focus to Picture1.
    void focusKeyboardSink();

    QAction& command(Command c) { return *commands_[static_cast<std::size_t>(c)]; }
    KeyboardSink& keyboardSink() { return *picture1_; }
    StyleFrame& styleFrame() { return *styleFrame_; }
    ChordsFrame& chordsFrame() { return *chordsFrame_; }
    ChannelPanel& channelPanel() { return *channelPanel_; }
    FileFrame& fileFrame() { return *fileFrame_; }
    QLabel& loadingLabel() { return *lblLoading_; }
    QLabel& label4() { return *label4_; }

    QLabel& statusLine() { return *statusLine_; }

protected:
    void closeEvent(QCloseEvent* event) override;
    // A key that the control with the focus leaves alone (a letter or F-key
    // on the tempo scroll bar) still plays: it goes to the keyboard sink.
    void keyPressEvent(QKeyEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void buildCommandBar();
    QWidget* buildLoadingStrip(QWidget* parent);
    void connectInput();
    void syncControls();
    void syncStatusLine();
    // Runs a handler of the model; nothing runs inside another handler or
    // after the program has ended.
    void forward(const std::function<void()>& handler);

    Player& player_;
    QtDispatcher& dispatcher_;
    int syncHook_ = 0;

    std::array<QAction*, kCommandCount> commands_{};
    StyleFrame* styleFrame_ = nullptr;
    ChannelPanel* channelPanel_ = nullptr;
    ChordsFrame* chordsFrame_ = nullptr;
    FileFrame* fileFrame_ = nullptr;
    QLabel* lblLoading_ = nullptr;
    QLabel* label4_ = nullptr;
    KeyboardSink* picture1_ = nullptr;
    QLabel* statusLine_ = nullptr;
};

}  // namespace vornel
