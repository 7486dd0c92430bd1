#include "windows/qt/HelpWindow.h"

#include <QHBoxLayout>
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
    : ModelWindow(dispatcher, model.window, [&model] { model.Command1_Click(); }, parent),
      model_(model),
      ole1_(new QTextBrowser),
      command1_(new QPushButton) {
    setObjectName("help");
    ole1_->setObjectName("OLE1");
    command1_->setObjectName("Command1");
    ole1_->setReadOnly(true);
    // Links in a help document lead nowhere inside the program.
    ole1_->setOpenLinks(false);
    // Text without a colour of its own is black on the white page, whatever
    // colour the desktop's theme gives text.
    QPalette page = ole1_->palette();
    page.setColor(QPalette::Text, Qt::black);
    ole1_->setPalette(page);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(command1_);
    buttons->addStretch(1);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(ole1_, 1);
    layout->addLayout(buttons);
    resize(px(kWidthTwips), px(kHeightTwips));

    connect(command1_, &QPushButton::clicked, this,
            [this] { forward([this] { model_.Command1_Click(); }); });

    followModel();
}

void HelpWindow::sync() {
    setWindowTitle(qtString(model_.window.caption));
    paintBackground(*this, QPalette::Window, model_.window.colour);
    paintBackground(*ole1_, QPalette::Base, model_.OLE1.colour);
    mirrorControl(*ole1_, model_.OLE1);
    mirrorCaptioned(*command1_, model_.Command1);
    if (model_.documentRevision() != shownRevision_) {
        fillTextDocument(*ole1_->document(), model_.document());
        // A new document is read from its beginning, not where filling left the cursor.
        ole1_->moveCursor(QTextCursor::Start);
        shownRevision_ = model_.documentRevision();
    }
    followVisibility();
}

}  // namespace vornel
