#pragma once

#include <cstddef>
#include <deque>
#include <functional>
#include <string>
#include <vector>

#include "platform/Dialogs.h"

namespace vornel::test {

// One call a handler made on the screen.
struct DialogCall {
    enum class Kind { MessageBox, AskYesNo, Beep, WaitCursor, FocusKeyboardSink, RepaintNow, EndProgram };
    Kind kind;
    std::string text;   // message boxes and questions
    std::string title;  // message boxes and questions
    MessageIcon icon = MessageIcon::None;  // message boxes; Question for askYesNo
    bool on = false;    // WaitCursor: on or off; AskYesNo: the answer given
};

// Dialogs that record every call in order and answer questions as told.
// `observe`, when set, runs at each call after it is recorded, so a test can
// look at the state a handler had at that moment (the progress labels at a
// repaint, say).
class RecordingDialogs final : public Dialogs {
public:
    using Kind = DialogCall::Kind;

    void messageBox(const std::string& text, const std::string& title, MessageIcon icon) override {
        record({Kind::MessageBox, text, title, icon, false});
    }
    bool askYesNo(const std::string& text, const std::string& title) override {
        bool answer = answerYes;
        if (!answers.empty()) {
            answer = answers.front();
            answers.pop_front();
        }
        record({Kind::AskYesNo, text, title, MessageIcon::Question, answer});
        return answer;
    }
    void beep() override { record({Kind::Beep, {}, {}, MessageIcon::None, false}); }
    void setWaitCursor(bool on) override {
        waitCursor = on;
        record({Kind::WaitCursor, {}, {}, MessageIcon::None, on});
    }
    void focusKeyboardSink() override { record({Kind::FocusKeyboardSink, {}, {}, MessageIcon::None, false}); }
    void repaintNow() override { record({Kind::RepaintNow, {}, {}, MessageIcon::None, false}); }
    void endProgram() override {
        programEnded = true;
        record({Kind::EndProgram, {}, {}, MessageIcon::None, false});
    }

    // Calls of one kind, in order.
    std::vector<DialogCall> of(Kind kind) const {
        std::vector<DialogCall> out;
        for (const DialogCall& c : calls)
            if (c.kind == kind) out.push_back(c);
        return out;
    }
    std::size_t count(Kind kind) const { return of(kind).size(); }
    void clear() { calls.clear(); }

    std::vector<DialogCall> calls;
    // askYesNo answers from `answers` while it holds any, then `answerYes`.
    std::deque<bool> answers;
    bool answerYes = true;
    bool waitCursor = false;  // the pointer as the last call left it
    bool programEnded = false;
    std::function<void(const DialogCall&)> observe;

private:
    void record(DialogCall call) {
        calls.push_back(std::move(call));
        if (observe) observe(calls.back());
    }
};

}  // namespace vornel::test
