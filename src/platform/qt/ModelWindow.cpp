#include "platform/qt/ModelWindow.h"

#include <QCloseEvent>
#include <QPointer>
#include <utility>

#include "platform/qt/QtDispatcher.h"

namespace vornel {

ModelWindow::ModelWindow(QtDispatcher& dispatcher, const Control& window, std::function<void()> frameClose,
                         QWidget* parent)
    : QWidget(parent, Qt::Window), dispatcher_(dispatcher), window_(window), frameClose_(std::move(frameClose)) {}

void ModelWindow::followModel() {
    // The hook outlives nothing it points to: the dispatcher may outlast the window.
    dispatcher_.addAfterHandlerHook([window = QPointer<ModelWindow>(this)] {
        if (window) window->sync();
    });
    sync();
}

bool followVisibility(QWidget& window, const Control& record) {
    if (record.visible == window.isVisible()) return false;
    window.setVisible(record.visible);
    if (!record.visible) return false;
    window.raise();
    window.activateWindow();
    return true;
}

void ModelWindow::forward(const std::function<void()>& handler) {
    // A refused handler (one is already running, or the program has ended)
    // changed nothing: the widgets go back to what the model says.
    if (!dispatcher_.runHandler(handler)) sync();
}

void ModelWindow::closeEvent(QCloseEvent* event) {
    if (!window_.visible || dispatcher_.ended()) {
        event->accept();
        return;
    }
    event->ignore();
    forward(frameClose_);
}

}  // namespace vornel
