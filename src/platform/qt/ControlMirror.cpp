#include "platform/qt/ControlMirror.h"

namespace vornel {

void mirrorControl(QWidget& widget, const Control& control) {
    // The widget's own flag, not isEnabled(), which also reflects a disabled frame.
    if (widget.testAttribute(Qt::WA_ForceDisabled) == control.enabled)
        widget.setEnabled(control.enabled);
    if (widget.isHidden() == control.visible) widget.setVisible(control.visible);
    const QString tip = qtString(control.toolTip);
    if (widget.toolTip() != tip) widget.setToolTip(tip);
}

QColor textColourOn(const QColor& background) {
    // Perceived brightness (ITU-R BT.601 weights), 0..255.
    const int brightness =
        (background.red() * 299 + background.green() * 587 + background.blue() * 114) / 1000;
    return brightness >= 128 ? QColor(Qt::black) : QColor(Qt::white);
}

QColor disabledTextOn(const QColor& background) {
    const QColor text = textColourOn(background);
    return QColor((text.red() + background.red()) / 2, (text.green() + background.green()) / 2,
                  (text.blue() + background.blue()) / 2);
}

}  // namespace vornel
