#include "player/qt/PlayerWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLayout>
#include <QMenuBar>
#include <QPalette>
#include <QStatusBar>
#include <algorithm>
#include <array>
#include <functional>

#include "platform/qt/ControlMirror.h"
#include "platform/qt/ModelWindow.h"

namespace vornel {

namespace {

constexpr int kMargin = 4;
constexpr int kLoadingStripHeight = 24;

// Menu texts treat '&' as a mnemonic mark; the captions are plain text.
QString menuText(const std::string& caption) {
    return qtString(caption).replace('&', QStringLiteral("&&"));
}

}  // namespace

PlayerWindow::PlayerWindow(Player& player, QtDispatcher& dispatcher, QWidget* parent)
    : QMainWindow(parent), player_(player), dispatcher_(dispatcher) {
    // The geometry is fixed in device-independent pixels; so is the text, so
    // that every caption fits its control at any screen scale.
    QFont small = font();
    small.setPixelSize(11);
    setFont(small);

    buildCommandBar();

    auto* client = new QWidget(this);
    client->setFixedSize(kClientWidth, kClientHeight);
    styleFrame_ = new StyleFrame(client);
    styleFrame_->move(kMargin, kMargin);
    channelPanel_ = new ChannelPanel(client);
    channelPanel_->move(kClientWidth - kMargin - ChannelPanel::kWidth, kMargin);
    chordsFrame_ = new ChordsFrame(client);
    chordsFrame_->move(kMargin,
                       std::max(styleFrame_->geometry().bottom(), channelPanel_->geometry().bottom()) + 1 + kMargin);
    QWidget* strip = buildLoadingStrip(client);
    strip->move(kMargin, chordsFrame_->geometry().bottom() + 1 + kMargin);
    fileFrame_ = new FileFrame(client);
    fileFrame_->move(kMargin, strip->geometry().bottom() + 1 + kMargin);
    setCentralWidget(client);
    // One line under the window's design area: which device plays, or why
    // nothing does, and what was wrong with the last file.
    statusLine_ = new QLabel;
    statusLine_->setTextFormat(Qt::PlainText);
    statusBar()->setSizeGripEnabled(false);
    statusBar()->addWidget(statusLine_, 1);
    layout()->setSizeConstraint(QLayout::SetFixedSize);

    connectInput();
    syncControls();
    picture1_->setFocus(Qt::OtherFocusReason);
    syncHook_ = dispatcher_.addAfterHandlerHook([this] { sync(); });
}

PlayerWindow::~PlayerWindow() {
    dispatcher_.removeAfterHandlerHook(syncHook_);
}

void PlayerWindow::buildCommandBar() {
    auto* bar = new QMenuBar(this);
    // In the window, also where the system has a global menu bar: these are
    // the window's own commands, not an application menu.
    bar->setNativeMenuBar(false);
    for (auto*& action : commands_) action = bar->addAction(QString());
    setMenuBar(bar);
}

// The loading strip (Lbl_Loading, Label4) with the keyboard sink Picture1 at
// its right end.
QWidget* PlayerWindow::buildLoadingStrip(QWidget* parent) {
    auto* strip = new QFrame(parent);
    strip->setFrameStyle(QFrame::Box | QFrame::Sunken);
    strip->setFixedSize(kClientWidth - 2 * kMargin, kLoadingStripHeight);
    lblLoading_ = new QLabel(strip);
    lblLoading_->setTextFormat(Qt::PlainText);
    lblLoading_->setGeometry(8, 4, 150, 16);
    label4_ = new QLabel(strip);
    label4_->setTextFormat(Qt::PlainText);
    label4_->setGeometry(162, 4, 300, 16);
    picture1_ = new KeyboardSink(strip);
    picture1_->move(strip->width() - 8 - picture1_->width(), (kLoadingStripHeight - picture1_->height()) / 2);
    return strip;
}

void PlayerWindow::connectInput() {
    // Plain lambdas rather than pointers to members: g++ with the sanitizers
    // misreads a member pointer captured twice as uninitialised.
    Player& p = player_;
    const std::array<std::function<void()>, kCommandCount> handlers{
        [&p] { p.Cmd_Open_Click(); }, [&p] { p.Cmd_Panic_Click(); }, [&p] { p.Cmd_Settings_Click(); },
        [&p] { p.mnuMap_Click(); },   [&p] { p.Cmd_About_Click(); }, [&p] { p.Cmd_Help_Click(); },
        [&p] { p.Cmd_Exit_Click(); }, [&p] { p.Cmd_Play_Click(); },  [&p] { p.Cmd_Stop_Click(); }};
    for (std::size_t i = 0; i < handlers.size(); ++i)
        connect(commands_[i], &QAction::triggered, this, [this, h = handlers[i]] { forward(h); });

    connect(styleFrame_, &StyleFrame::partClicked, this,
            [this](int i) { forward([this, i] { player_.Cmd_Part_Click(i); }); });
    connect(styleFrame_, &StyleFrame::autoFillClicked, this,
            [this] { forward([this] { player_.Cmd_AutoFill_Click(); }); });
    connect(chordsFrame_, &ChordsFrame::chordClicked, this,
            [this](int i) { forward([this, i] { player_.Lbl_Chord_Click(i); }); });
    connect(channelPanel_, &ChannelPanel::switchClicked, this,
            [this](int i) { forward([this, i] { player_.Cmd_DisCh_Click(i); }); });
    connect(channelPanel_, &ChannelPanel::metersSwitchClicked, this,
            [this] { forward([this] { player_.Command1_Click(); }); });
    connect(channelPanel_, &ChannelPanel::tempoLabelClicked, this,
            [this] { forward([this] { player_.Label1_Click(); }); });
    connect(channelPanel_, &ChannelPanel::tempoChanged, this,
            [this](int v) { forward([this, v] { player_.HScroll1_Change(v); }); });
    connect(channelPanel_, &ChannelPanel::tempoScrolled, this,
            [this](int v) { forward([this, v] { player_.HScroll1_Scroll(v); }); });
    connect(channelPanel_, &ChannelPanel::masterLabelClicked, this,
            [this] { forward([this] { player_.Lbl_Master_Click(); }); });
    connect(channelPanel_, &ChannelPanel::masterChanged, this,
            [this](int v) { forward([this, v] { player_.Scr_Master_Change(v); }); });
    picture1_->onKeyDown = [this](int code, int shift) {
        forward([this, code, shift] { player_.Picture1_KeyDown(code, shift); });
    };
}

void PlayerWindow::forward(const std::function<void()>& handler) {
    dispatcher_.runHandler(handler);
}

void PlayerWindow::closeEvent(QCloseEvent* event) {
    // Ending the program hides the windows itself; nothing is asked any more.
    if (dispatcher_.ended()) {
        event->accept();
        return;
    }
    bool cancel = true;  // also when another handler is still open
    forward([this, &cancel] { cancel = player_.Form_Unload(); });
    if (cancel)
        event->ignore();
    else
        event->accept();
}

void PlayerWindow::keyPressEvent(QKeyEvent* event) {
    if (!picture1_->deliver(event)) QMainWindow::keyPressEvent(event);
}

void PlayerWindow::resizeEvent(QResizeEvent* event) {
    QMainWindow::resizeEvent(event);
    syncStatusLine();
}

void PlayerWindow::sync() {
    syncControls();
    // Brought back by another window's OK: the chord keys must reach us
    // without the user clicking the window first.
    if (followVisibility(*this, player_.state().window)) focusKeyboardSink();
}

void PlayerWindow::repaintNow() {
    sync();
    repaint();
}

void PlayerWindow::focusKeyboardSink() {
    picture1_->setFocus(Qt::OtherFocusReason);
}

void PlayerWindow::syncControls() {
    const PlayerState& s = player_.state();
    const QString title = qtString(s.window.caption);
    if (windowTitle() != title) setWindowTitle(title);

    const std::array<const Control*, kCommandCount> commands{&s.Cmd_Open, &s.Cmd_Panic, &s.Cmd_Settings,
                                                             &s.mnuMap,   &s.Cmd_About, &s.Cmd_Help,
                                                             &s.Cmd_Exit, &s.Cmd_Play,  &s.Cmd_Stop};
    for (std::size_t i = 0; i < commands.size(); ++i) {
        QAction& a = *commands_[i];
        const Control& c = *commands[i];
        a.setText(menuText(c.caption));
        a.setEnabled(c.enabled);
        a.setVisible(c.visible);
        a.setToolTip(qtString(c.toolTip));
    }

    styleFrame_->sync(s);
    channelPanel_->sync(s);
    chordsFrame_->sync(s);
    mirrorLabel(*lblLoading_, s.Lbl_Loading);
    mirrorLabel(*label4_, s.Label4);
    fileFrame_->sync(s);
    syncStatusLine();
}

// A line longer than the window is cut short with an ellipsis; the tool tip
// holds all of it.
void PlayerWindow::syncStatusLine() {
    const Control& line = player_.state().StatusLine;
    mirrorControl(*statusLine_, line);
    const QString full = qtString(line.caption);
    const QString shown = statusLine_->fontMetrics().elidedText(full, Qt::ElideRight, statusLine_->width());
    if (statusLine_->text() != shown) statusLine_->setText(shown);
    const QColor colour = qtColour(line.colour);
    if (statusLine_->palette().color(QPalette::WindowText) != colour) {
        QPalette palette = statusLine_->palette();
        palette.setColor(QPalette::WindowText, colour);
        statusLine_->setPalette(palette);
    }
}

}  // namespace vornel
