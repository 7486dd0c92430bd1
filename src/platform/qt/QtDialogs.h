#pragma once

#include <functional>
#include <string>

#include "platform/Dialogs.h"
#include "platform/qt/QtDispatcher.h"

namespace vornel {

// The screen services of the handlers, with Qt. Focus to the keyboard sink and
// the explicit repaint belong to the player window, which sets the two
// callbacks when it is made; until then they do nothing.
class QtDialogs final : public Dialogs {
public:
    explicit QtDialogs(QtDispatcher& dispatcher) : dispatcher_(dispatcher) {}
    ~QtDialogs() override;

    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override;
    bool askYesNo(const std::string& text, const std::string& title) override;
    void beep() override;
    void setWaitCursor(bool on) override;
    void focusKeyboardSink() override;
    void repaintNow() override;
    void endProgram() override;

    bool waitCursorOn() const { return waitCursor_; }

    std::function<void()> onFocusKeyboardSink;
    std::function<void()> onRepaintNow;

private:
    QtDispatcher& dispatcher_;
    bool waitCursor_ = false;
};

}  // namespace vornel
