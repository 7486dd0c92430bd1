#pragma once

#include <string>

namespace vornel {

// The program's title: the player window's caption and the caption of the
// program's message boxes.
inline constexpr const char* kAppTitle = "Vornel";

enum class MessageIcon { None, Exclamation, Question };

// What a handler asks of the screen beyond its controls' state: modal message
// boxes, the beep, the pointer, the keyboard focus, an explicit repaint while
// the thread is blocked, and ending the program. The windows implement it
// with Qt; tests record every call and answer as told.
class Dialogs {
public:
    virtual ~Dialogs() = default;

    // A modal box with an OK button.
    virtual void messageBox(const std::string& text, const std::string& title, MessageIcon icon) = 0;
    // A modal Yes/No question with the question icon; true for Yes.
    virtual bool askYesNo(const std::string& text, const std::string& title) = 0;
    virtual void beep() = 0;
    // The wait pointer over the whole program while on.
    virtual void setWaitCursor(bool on) = 0;
    // Gives the keyboard focus to the player window's keyboard sink Picture1.
    virtual void focusKeyboardSink() = 0;
    // Shows the controls' present state on screen at once, from inside a
    // handler that keeps the thread busy (loading's progress labels).
    virtual void repaintNow() = 0;
    // Ends the program at once; no further handler runs.
    virtual void endProgram() = 0;
};

}  // namespace vornel
