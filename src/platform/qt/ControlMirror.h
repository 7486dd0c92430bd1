#pragma once

#include <QColor>
#include <QLabel>
#include <QString>
#include <QWidget>
#include <string>

#include "platform/Control.h"
#include "platform/qt/QtConversions.h"

namespace vornel {

// Shows a control's enabled state, visibility and tool tip on its widget,
// touching the widget only where it differs. Caption and colour depend on the
// kind of widget and are set by the caller.
void mirrorControl(QWidget& widget, const Control& control);

// mirrorControl() and the caption, for a label or a button. True when the
// caption changed, so that a caller sizing the widget to its text does so
// only then.
template <class Widget>
bool mirrorCaptioned(Widget& widget, const Control& control) {
    mirrorControl(widget, control);
    const QString text = qtString(control.caption);
    if (widget.text() == text) return false;
    widget.setText(text);
    return true;
}

inline void mirrorLabel(QLabel& label, const Control& control) {
    mirrorCaptioned(label, control);
}

// The text colour that reads well on `background`: black on light colours,
// white on dark ones.
QColor textColourOn(const QColor& background);

// A disabled control's text: its own text colour drawn halfway to the
// background, so it looks disabled and still reads on white and black keys.
QColor disabledTextOn(const QColor& background);

}  // namespace vornel
