#pragma once

#include <cstdint>
#include <functional>

#include "windows/HelpForm.h"
#include "platform/qt/ModelWindow.h"

class QPushButton;
class QTextBrowser;

namespace vornel {

class QtDispatcher;

// The help window on screen: a read-only document view above a centred OK
// button, on the model's dark background. It shows the HelpForm model after
// every handler of the program and forwards OK to the model as a handler.
class HelpWindow final : public ModelWindow {
    Q_OBJECT

public:
    // Closing through the window frame is OK: the player window comes back.
    HelpWindow(HelpForm& model, QtDispatcher& dispatcher, QWidget* parent = nullptr);

    // Shows the model's present state: title, colours, OK caption, the
    // document (refilled only when it changed) and visibility.
    void sync() override;

    QTextBrowser* documentArea() const { return ole1_; }
    QPushButton* okButton() const { return command1_; }

private:
    HelpForm& model_;
    QTextBrowser* ole1_;
    QPushButton* command1_;
    // The model's document revision the view shows; the view starts empty.
    std::uint64_t shownRevision_ = 0;
};

}  // namespace vornel
