#include "player/qt/ColourButton.h"

#include <QPainter>

#include "platform/qt/ControlMirror.h"

namespace vornel {

ColourButton::ColourButton(QWidget* parent) : QAbstractButton(parent) {
    setFocusPolicy(Qt::NoFocus);
}

void ColourButton::setColour(const QColor& colour) {
    if (colour == colour_) return;
    colour_ = colour;
    update();
}

// Drawn by hand: a style sheet per button would re-polish the widget at every
// colour change, and a blinking button changes four times a second.
void ColourButton::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const QRect r = rect();
    p.fillRect(r, colour_);
    const bool sunken = isDown();
    const QColor light = sunken ? QColor(64, 64, 64) : QColor(255, 255, 255);
    const QColor dark = sunken ? QColor(255, 255, 255) : QColor(64, 64, 64);
    p.setPen(light);
    p.drawLine(r.topLeft(), r.topRight());
    p.drawLine(r.topLeft(), r.bottomLeft());
    p.setPen(dark);
    p.drawLine(r.bottomLeft(), r.bottomRight());
    p.drawLine(r.topRight(), r.bottomRight());
    if (text().isEmpty()) return;
    p.setPen(isEnabled() ? textColourOn(colour_) : disabledTextOn(colour_));
    p.drawText(r.adjusted(1, sunken ? 2 : 1, sunken ? 0 : -1, 0), Qt::AlignCenter, text());
}

}  // namespace vornel
