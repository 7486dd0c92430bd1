#include "player/qt/ChordKey.h"

#include <QEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QTextOption>

#include "platform/qt/ControlMirror.h"

namespace vornel {

ChordKey::ChordKey(bool sharp, QWidget* parent)
    : QWidget(parent), sharp_(sharp), colour_(sharp ? QColor(Qt::black) : QColor(Qt::white)) {
    setCursor(Qt::PointingHandCursor);
    setFocusPolicy(Qt::NoFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChordKey::setCaption(const QString& caption) {
    if (caption == caption_) return;
    caption_ = caption;
    update();
}

void ChordKey::setColour(const QColor& colour) {
    if (colour == colour_) return;
    colour_ = colour;
    update();
}

void ChordKey::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), colour_);
    p.setPen(QColor(0, 0, 0));
    p.setBrush(Qt::NoBrush);
    p.drawRect(rect().adjusted(0, 0, -1, -1));
    p.setPen(isEnabled() ? textColourOn(colour_) : disabledTextOn(colour_));
    // The captions place their letter with spaces (" C", "D  "); trailing
    // spaces must count for that, which plain centring ignores.
    QTextOption option(Qt::AlignHCenter | Qt::AlignBottom);
    option.setFlags(QTextOption::IncludeTrailingSpaces);
    option.setWrapMode(QTextOption::NoWrap);
    p.drawText(QRectF(rect().adjusted(1, 1, -1, -4)), caption_, option);
}

void ChordKey::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    event->accept();
}

void ChordKey::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    event->accept();
    if (click) emit clicked();
}

void ChordKey::changeEvent(QEvent* event) {
    if (event->type() == QEvent::EnabledChange) update();
    QWidget::changeEvent(event);
}

}  // namespace vornel
