#include "platform/qt/ModelWindow.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCloseEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QVariant>
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

namespace {

// Where the window stood when it was last hidden.
constexpr const char* kLastPlace = "vornelLastPlace";

}  // namespace

void forgetPlace(QWidget& window) {
    window.setProperty(kLastPlace, QVariant());
}

bool followVisibility(QWidget& window, const Control& record) {
    if (record.visible == window.isVisible()) return false;
    // A window manager places a window afresh each time it is mapped, unless
    // the program names its position: the window comes back where the user
    // left it, not where the desktop would put a new one.
    if (!record.visible) {
        window.setProperty(kLastPlace, window.pos());
    } else if (const QVariant place = window.property(kLastPlace); place.isValid()) {
        window.move(place.toPoint());
    }
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

void ModelWindow::setDialogKeys(std::function<void()> enter, std::function<void()> escape) {
    enterKey_ = std::move(enter);
    escapeKey_ = std::move(escape);
}

// Keys reach here when the control with the focus leaves them alone: lists
// and combo boxes keep their own Enter (and their open pop-ups their Escape).
void ModelWindow::keyPressEvent(QKeyEvent* event) {
    const bool plain = (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier;
    const int key = event->key();
    if (plain && (key == Qt::Key_Return || key == Qt::Key_Enter)) {
        if (auto* button = qobject_cast<QAbstractButton*>(QApplication::focusWidget());
            button && button->window() == this && button->isEnabled()) {
            button->click();
            return;
        }
        if (enterKey_) {
            forward(enterKey_);
            return;
        }
    }
    if (plain && key == Qt::Key_Escape && escapeKey_) {
        forward(escapeKey_);
        return;
    }
    QWidget::keyPressEvent(event);
}

}  // namespace vornel
