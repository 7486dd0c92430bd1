#pragma once

#include <QColor>
#include <QLabel>
#include <QString>
#include <QWidget>
#include <string>

#include "platform/Control.h"

namespace vornel {

inline QString qtText(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}
inline QColor qtColour(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

// Shows a control's enabled state, visibility and tool tip on its widget,
// touching the widget only where it differs. Caption and colour depend on the
// kind of widget and are set by the caller.
void mirrorControl(QWidget& widget, const Control& control);

// mirrorControl() and the caption, for a label.
void mirrorLabel(QLabel& label, const Control& control);

// The text colour that reads well on `background`: black on light colours,
// white on dark ones.
QColor textColourOn(const QColor& background);

// A disabled control's text: its own text colour drawn halfway to the
// background, so it looks disabled and still reads on white and black keys.
QColor disabledTextOn(const QColor& background);

}  // namespace vornel
