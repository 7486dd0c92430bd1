#include "player/qt/KeyboardSink.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QPainter>

namespace vornel {

KeyboardSink::KeyboardSink(QWidget* parent)
    : QWidget(parent), scanCodes_(PhysicalKeys::scanCodesOf(QGuiApplication::platformName())) {
    setFocusPolicy(Qt::StrongFocus);
    setFixedSize(16, 13);
}

void KeyboardSink::keyPressEvent(QKeyEvent* event) {
    const int code = PhysicalKeys::virtualKey(scanCodes_, event->nativeScanCode(), event->key());
    if (code == 0) {
        QWidget::keyPressEvent(event);
        return;
    }
    event->accept();
    if (onKeyDown) onKeyDown(code, PhysicalKeys::shiftMask(event->modifiers()));
}

// A dark box while it holds the focus, so the user can see that the chord and
// channel keys will be heard.
void KeyboardSink::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), hasFocus() ? QColor(64, 64, 64) : QColor(200, 200, 200));
    p.setPen(QColor(128, 128, 128));
    p.drawRect(rect().adjusted(0, 0, -1, -1));
}

void KeyboardSink::focusInEvent(QFocusEvent* event) {
    update();
    QWidget::focusInEvent(event);
}

void KeyboardSink::focusOutEvent(QFocusEvent* event) {
    update();
    QWidget::focusOutEvent(event);
}

}  // namespace vornel
