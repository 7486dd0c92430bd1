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

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    PhysicalKeys::ScanCodes scanCodes_;
};

}  // namespace vornel
