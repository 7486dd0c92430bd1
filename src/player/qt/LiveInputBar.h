#pragma once

#include <QComboBox>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>

#include <functional>

#include "platform/qt/QtDispatcher.h"
#include "player/Player.h"

namespace vornel {

// The MIDI keyboard's controls under the player window: Split, the chord
// mode, the chord change, the right hand's voice, sync start and tap tempo,
// and the device's state in the window's status line. The input device is
// chosen in the setup window and the chord the left hand named shows in the
// chords frame. Like the window, it draws the player model after every
// handler and decides nothing itself.
class LiveInputBar final : public QToolBar {
    Q_OBJECT

public:
    LiveInputBar(Player& player, QtDispatcher& dispatcher, QWidget* parent = nullptr);
    ~LiveInputBar() override;
    void sync();
    QPushButton& chordChangeButton() { return *chordChange_; }
    // Where the input device's state is shown (the window's status line).
    void setStatusLine(QStatusBar* line) {
        statusLine_ = line;
        sync();
    }

private:
    QPushButton* button(std::function<void()> handler);

    Player& player_;
    QtDispatcher& dispatcher_;
    QPushButton* split_ = nullptr;
    QPushButton* mode_ = nullptr;
    QPushButton* chordChange_ = nullptr;
    QComboBox* voice_ = nullptr;
    QPushButton* syncStart_ = nullptr;
    QPushButton* tap_ = nullptr;
    QStatusBar* statusLine_ = nullptr;
    QString shownStatus_;
    int syncHook_ = 0;
};

}  // namespace vornel
