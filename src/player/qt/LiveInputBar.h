#pragma once

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QStatusBar>
#include <QToolBar>

#include <functional>

#include "platform/qt/QtDispatcher.h"
#include "player/Player.h"

namespace vornel {

class MidiInputProvider;

// The MIDI keyboard's controls under the player window: the input device,
// Split, the chord mode, the right hand's voice, sync start and tap tempo,
// the chord the left hand named and the device's state. Like the window, it
// draws the player model after every handler and decides nothing itself.
class LiveInputBar final : public QToolBar {
    Q_OBJECT

public:
    LiveInputBar(Player& player, QtDispatcher& dispatcher, MidiInputProvider& inputs, QWidget* parent = nullptr);
    ~LiveInputBar() override;
    void sync();
    // Where the input device's state is shown (the window's status line).
    void setStatusLine(QStatusBar* line) {
        statusLine_ = line;
        sync();
    }

private:
    QPushButton* button(std::function<void()> handler);

    Player& player_;
    QtDispatcher& dispatcher_;
    MidiInputProvider& inputs_;
    QComboBox* device_ = nullptr;
    QPushButton* split_ = nullptr;
    QPushButton* mode_ = nullptr;
    QComboBox* voice_ = nullptr;
    QPushButton* syncStart_ = nullptr;
    QPushButton* tap_ = nullptr;
    QLabel* chord_ = nullptr;
    QStatusBar* statusLine_ = nullptr;
    QString shownStatus_;
    int syncHook_ = 0;
};

}  // namespace vornel
