#include "windows/qt/HelpWindow.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPointer>
#include <QPushButton>
#include <QTextBrowser>
#include <QTextCursor>
#include <QVBoxLayout>

#include "platform/qt/QtDispatcher.h"
#include "windows/qt/ControlView.h"
#include "windows/rtf/qt/RichTextDocument.h"

namespace vornel {

namespace {

// The window's size at first showing, in twips; the user may resize it.
constexpr int kWidthTwips = 9600;
constexpr int kHeightTwips = 7200;

}  // namespace

HelpWindow::HelpWindow(HelpForm& model, QtDispatcher& dispatcher, QWidget* parent)
    : QWidget(parent, Qt::Window),
      model_(model),
      dispatcher_(dispatcher),
      ole1_(new QTextBrowser),
      command1_(new QPushButton) {
    setObjectName("help");
    ole1_->setObjectName("OLE1");
    command1_->setObjectName("Command1");
    ole1_->setReadOnly(true);
    // Links in a help document lead nowhere inside the program.
    ole1_->setOpenLinks(false);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(command1_);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ole1_, 1);
    layout->addLayout(buttons);
    resize(twipsToPixels(kWidthTwips), twipsToPixels(kHeightTwips));

    connect(command1_, &QPushButton::clicked, this,
            [this] { forward([this] { model_.Command1_Click(); }); });

    // The hook outlives nothing it points to: the dispatcher may outlast the window.
    dispatcher_.addAfterHandlerHook([window = QPointer<HelpWindow>(this)] {
        if (window) window->sync();
    });
    sync();
}

void HelpWindow::forward(const std::function<void()>& handler) {
    // A refused handler changed nothing: the widgets go back to what the
    // model says.
    if (!dispatcher_.runHandler(handler)) sync();
}

void HelpWindow::closeEvent(QCloseEvent* event) {
    if (!model_.window.visible || dispatcher_.ended()) {
        event->accept();
        return;
    }
    // The model hides the window itself; Qt must not hide it behind its back.
    event->ignore();
    forward([this] { model_.Command1_Click(); });
}

void HelpWindow::sync() {
    setWindowTitle(qtString(model_.window.caption));
    paintBackground(*this, QPalette::Window, model_.window.colour);
    paintBackground(*ole1_, QPalette::Base, model_.OLE1.colour);
    if (ole1_->isHidden() == model_.OLE1.visible) ole1_->setHidden(!model_.OLE1.visible);
    showControl(*command1_, model_.Command1);
    if (model_.documentRevision() != shownRevision_) {
        fillTextDocument(*ole1_->document(), model_.document());
        // A new document is read from its beginning, not where filling left the cursor.
        ole1_->moveCursor(QTextCursor::Start);
        shownRevision_ = model_.documentRevision();
    }
    if (model_.window.visible != isVisible()) setVisible(model_.window.visible);
}

}  // namespace vornel
