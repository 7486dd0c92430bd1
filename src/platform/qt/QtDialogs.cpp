#include "platform/qt/QtDialogs.h"

#include <QApplication>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QMessageBox>
#include <QWidget>

#include "platform/qt/QtConversions.h"

namespace vornel {

QtDialogs::~QtDialogs() {
    if (waitCursor_) QGuiApplication::restoreOverrideCursor();
}

// The boxes belong to whichever window the user is working in, so they open
// over it; with none active they centre on the screen.
void QtDialogs::messageBox(const std::string& text, const std::string& title, MessageIcon icon) {
    dispatcher_.syncWindows();
    QMessageBox box(qtIcon(icon), qtString(title), qtString(text), QMessageBox::Ok,
                    QApplication::activeWindow());
    box.exec();
}

bool QtDialogs::askYesNo(const std::string& text, const std::string& title) {
    dispatcher_.syncWindows();
    QMessageBox box(QMessageBox::Question, qtString(title), qtString(text),
                    QMessageBox::Yes | QMessageBox::No, QApplication::activeWindow());
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

void QtDialogs::beep() {
    QApplication::beep();
}

// The pointer is a state, not a stack: switching it on twice and off once
// leaves the normal pointer, as the handlers expect.
void QtDialogs::setWaitCursor(bool on) {
    if (on == waitCursor_) return;
    waitCursor_ = on;
    if (on)
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QGuiApplication::restoreOverrideCursor();
}

void QtDialogs::focusKeyboardSink() {
    if (onFocusKeyboardSink) onFocusKeyboardSink();
}

void QtDialogs::repaintNow() {
    if (onRepaintNow) onRepaintNow();
}

// The dispatcher refuses every further handler first, so no queued event or
// timer tick runs any more. The windows are hidden rather than closed: a close
// would ask them again whether they may close.
void QtDialogs::endProgram() {
    dispatcher_.endProgram();
    setWaitCursor(false);
    for (QWidget* w : QApplication::topLevelWidgets()) w->hide();
    QCoreApplication::exit(0);
}

}  // namespace vornel
