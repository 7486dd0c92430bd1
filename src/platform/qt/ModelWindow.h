#pragma once

#include <QWidget>
#include <functional>

#include "platform/Control.h"

class QCloseEvent;
class QKeyEvent;

namespace vornel {

class QtDispatcher;

// Shows or hides `window` as its model's record says. A window shown comes to
// the front with the keyboard, also when it was shown already and only lay
// behind another one. True when it was shown just now.
// A window hidden here comes back where it was hidden.
bool followVisibility(QWidget& window, const Control& record);
// The next showing keeps the window where the program has just put it.
void forgetPlace(QWidget& window);

// A window that mirrors a model: it shows the model again after every handler
// of the program and passes the user's input to the model as handlers.
class ModelWindow : public QWidget {
    Q_OBJECT

public:
    // Shows the model's present state.
    virtual void sync() = 0;

protected:
    // `window` is the model's record of this window; `frameClose` is the
    // model's handler for closing through the window frame.
    ModelWindow(QtDispatcher& dispatcher, const Control& window, std::function<void()> frameClose,
                QWidget* parent);

    // Called last in the derived constructor: from here on the window
    // follows the model.
    void followModel();

    // followVisibility() for this window and its model's record.
    void followVisibility() { vornel::followVisibility(*this, window_); }

    // Runs `handler` as a handler of the program.
    void forward(const std::function<void()>& handler);

    // While the model shows the window, closing it through the frame is the
    // model's decision: Qt must not hide the window behind the model's back.
    void closeEvent(QCloseEvent* event) override;

    // Enter and Escape as a desktop dialog has them: Enter presses the button
    // that has the focus, else `enter`; Escape runs `escape`. Either unset
    // leaves its key alone.
    void setDialogKeys(std::function<void()> enter, std::function<void()> escape);
    void keyPressEvent(QKeyEvent* event) override;

    QtDispatcher& dispatcher_;

private:
    const Control& window_;
    std::function<void()> frameClose_;
    std::function<void()> enterKey_;
    std::function<void()> escapeKey_;
};

}  // namespace vornel
