#pragma once

#include <QColor>
#include <QMessageBox>
#include <QString>
#include <string>

#include "platform/Control.h"
#include "platform/Dialogs.h"

namespace vornel {

// Between the core's plain values and Qt's.

// Every text of the program is UTF-8, the Turkish letters included.
inline QString qtString(const std::string& s) {
    return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

inline QColor qtColour(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

inline QMessageBox::Icon qtIcon(MessageIcon icon) {
    switch (icon) {
        case MessageIcon::Exclamation:
            return QMessageBox::Warning;
        case MessageIcon::Question:
            return QMessageBox::Question;
        case MessageIcon::None:
            break;
    }
    return QMessageBox::NoIcon;
}

}  // namespace vornel
