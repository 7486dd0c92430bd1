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

// A held key repeats, but every key of the sink means one press: a channel
// switch held would flutter on and off, and the end state would depend on
// how long it was held. A repeated chord key would choose the same chord
// again, so nothing is lost by dropping every repeat.
bool KeyboardSink::deliver(QKeyEvent* event) {
    if (event->isAutoRepeat()) {
        event->accept();
        return true;
    }
    const int code = PhysicalKeys::virtualKey(scanCodes_, event->nativeScanCode(), event->key());
    if (code == 0) return false;
    event->accept();
    if (onKeyDown) onKeyDown(code, PhysicalKeys::shiftMask(event->modifiers()));
    return true;
}

// One stray Tab in a live set must not leave the chord keys dead, so the sink
// keeps the focus; a Tab pressed elsewhere still moves the focus here.
bool KeyboardSink::event(QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            event->accept();
            return true;
        }
    }
    return QWidget::event(event);
}

void KeyboardSink::keyPressEvent(QKeyEvent* event) {
    if (!deliver(event)) QWidget::keyPressEvent(event);
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
