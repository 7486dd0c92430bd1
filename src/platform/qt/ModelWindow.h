#pragma once

#include <QWidget>
#include <functional>

#include "platform/Control.h"

class QCloseEvent;

namespace vornel {

class QtDispatcher;

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

    // Shows or hides the window as the model says. A window the model shows
    // comes to the front with the keyboard, also when it was shown already
    // and only lay behind another one.
    void followVisibility();

    // Runs `handler` as a handler of the program.
    void forward(const std::function<void()>& handler);

    // While the model shows the window, closing it through the frame is the
    // model's decision: Qt must not hide the window behind the model's back.
    void closeEvent(QCloseEvent* event) override;

    QtDispatcher& dispatcher_;

private:
    const Control& window_;
    std::function<void()> frameClose_;
};

}  // namespace vornel
