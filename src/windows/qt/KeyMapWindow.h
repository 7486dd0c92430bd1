#pragma once

#include <array>
#include <functional>

#include "windows/KeyMapForm.h"
#include "platform/qt/ModelWindow.h"

class QFrame;
class QLabel;
class QPushButton;

namespace vornel {

class QtDispatcher;

// The key map window on screen: the letter keys in the frame's left half, the
// function keys in its right half, the note on minor chords and the MIDI
// keyboard's paragraph below and OK. It
// shows the KeyMapForm model after every handler of the program and forwards
// OK to the model as a handler.
class KeyMapWindow final : public ModelWindow {
    Q_OBJECT

public:
    // Closing through the window frame is OK: the player window comes back.
    KeyMapWindow(KeyMapForm& model, QtDispatcher& dispatcher, QWidget* parent = nullptr);

    // Shows the model's present state: title, labels, OK and visibility.
    void sync() override;

    QLabel* keyLabel(int index) const { return label1_.at(static_cast<std::size_t>(index)); }
    QLabel* actionLabel(int index) const { return label2_.at(static_cast<std::size_t>(index)); }
    QLabel* noteLabel() const { return label3_; }
    QLabel* keyboardKeyLabel(int index) const { return keyboardKey_.at(static_cast<std::size_t>(index)); }
    QLabel* keyboardActionLabel(int index) const { return keyboardAction_.at(static_cast<std::size_t>(index)); }
    QLabel* keyboardNote() const { return keyboardNote_; }
    QFrame* frame() const { return frame1_; }
    QPushButton* okButton() const { return command1_; }

private:
    void layOutKeyboardNote();

    KeyMapForm& model_;
    QFrame* frame1_;
    std::array<QLabel*, KeyMapForm::kPairCount> label1_{};
    std::array<QLabel*, KeyMapForm::kPairCount> label2_{};
    QLabel* label3_;
    std::array<QLabel*, KeyMapForm::kKeyboardPairCount> keyboardKey_{};
    std::array<QLabel*, KeyMapForm::kKeyboardPairCount> keyboardAction_{};
    QLabel* keyboardNote_;
    QPushButton* command1_;
    int grow_ = 0;  // how much a large desktop font spread the frame's rows
};

}  // namespace vornel
