#pragma once

#include <QColor>
#include <QLabel>
#include <QString>
#include <QWidget>
#include <string>

#include "platform/Control.h"
#include "platform/qt/QtConversions.h"

namespace vornel {

// Small pieces the auxiliary windows share to show their models' records.

inline int twipsToPixels(int twips) {
    return twips / 15;
}

// A label named `name` that shows its text exactly as written, spaces
// included (the key map lines its arrows up with them); nothing is read as
// markup.
inline QLabel* plainLabel(const QString& name, QWidget* parent) {
    auto* label = new QLabel(parent);
    label->setObjectName(name);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// Shows a label's or button's record: caption, enabled state, visibility and
// tool tip. Only what differs is touched, so an unchanged widget is not
// re-laid out after every handler. True when the caption changed, so that
// the caller sizes the widget again only then.
template <class Widget>
bool showControl(Widget& widget, const Control& control) {
    const QString caption = qtString(control.caption);
    const bool newCaption = widget.text() != caption;
    if (newCaption) widget.setText(caption);
    if (widget.isEnabled() != control.enabled) widget.setEnabled(control.enabled);
    if (widget.isHidden() == control.visible) widget.setHidden(!control.visible);
    const QString tip = qtString(control.toolTip);
    if (widget.toolTip() != tip) widget.setToolTip(tip);
    return newCaption;
}

// Paints `widget`'s own background in `colour`.
inline void paintBackground(QWidget& widget, QPalette::ColorRole role, Rgb colour) {
    QPalette palette = widget.palette();
    if (palette.color(role) == qtColour(colour)) return;
    palette.setColor(role, qtColour(colour));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

}  // namespace vornel
