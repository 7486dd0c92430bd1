#pragma once

#include <QWidget>
#include <functional>

#include "player/qt/PhysicalKeys.h"

namespace vornel {

// Picture1: the tiny box (240 x 195 twips) that holds the keyboard focus and
// hands every key it knows to the key handler as (virtual-key code, shift mask).
class KeyboardSink final : public QWidget {
    Q_OBJECT

public:
    explicit KeyboardSink(QWidget* parent = nullptr);

    // Called with (KeyCode, Shift) for each key press, auto-repeats included.
    std::function<void(int, int)> onKeyDown;

    void setScanCodes(PhysicalKeys::ScanCodes scanCodes) { scanCodes_ = scanCodes; }

    // Hands a key press to onKeyDown when it is a key the player knows (a
    // letter, a digit, F1..F12), accepting it; false for any other key. The
    // player window passes on here the keys its other controls leave alone.
    bool deliver(QKeyEvent* event);

protected:
    // Tab and Backtab stay here: the focus must not wander off the chords.
    bool event(QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    PhysicalKeys::ScanCodes scanCodes_;
};

}  // namespace vornel
