#pragma once

#include <QColor>
#include <QLabel>
#include <QString>
#include <QWidget>
#include <string>

#include "platform/Control.h"
#include "platform/qt/ControlMirror.h"
#include "platform/qt/QtConversions.h"

namespace vornel {

// Small pieces the auxiliary windows share to show their models' records.

// The windows' designs are in twips, 15 to a pixel.
inline int px(int twips) {
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

// Paints `widget`'s own background in `colour`.
inline void paintBackground(QWidget& widget, QPalette::ColorRole role, Rgb colour) {
    QPalette palette = widget.palette();
    if (palette.color(role) == qtColour(colour)) return;
    palette.setColor(role, qtColour(colour));
    widget.setPalette(palette);
    widget.setAutoFillBackground(true);
}

}  // namespace vornel
