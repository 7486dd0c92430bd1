#pragma once

#include "platform/Dialogs.h"

namespace vornel {

// A screen nobody looks at: every box is dismissed at once and every
// question answered No. For benchmarks and fuzzing, where the model runs
// without a window.
class SilentDialogs final : public Dialogs {
public:
    void messageBox(const std::string&, const std::string&, MessageIcon) override {}
    bool askYesNo(const std::string&, const std::string&) override { return false; }
    void beep() override {}
    void setWaitCursor(bool) override {}
    void focusKeyboardSink() override {}
    void repaintNow() override {}
    void endProgram() override {}
};

}  // namespace vornel
