#include "player/qt/LiveInputBar.h"

#include <QSignalBlocker>

#include "platform/qt/QtConversions.h"
#include "player/GeneralMidiVoices.h"

namespace vornel {

namespace {

// The voice list's narrowest, in letters: its number and the start of its
// name; it grows into whatever the buttons leave.
constexpr int kVoiceLettersAtLeast = 6;

// A switch that is on shows it in `on`.
QString colourSheet(bool lit, Rgb on) {
    return lit ? QStringLiteral("background-color: rgb(%1,%2,%3)").arg(on.r).arg(on.g).arg(on.b) : QString();
}

}  // namespace

LiveInputBar::LiveInputBar(Player& player, QtDispatcher& dispatcher, QWidget* parent)
    : QToolBar(parent), player_(player), dispatcher_(dispatcher) {
    setObjectName("LiveInputBar");
    setMovable(false);
    setFloatable(false);

    split_ = button([this] { player_.Cmd_Split_Click(); });
    mode_ = button([this] { player_.Cmd_ChordMode_Click(); });
    chordChange_ = button([this] { player_.Cmd_ChordChange_Click(); });

    voice_ = new QComboBox(this);
    voice_->setFocusPolicy(Qt::NoFocus);
    // The voice takes what the buttons leave of the window's width, so that
    // the bar never widens the window whatever the language and the choices.
    voice_->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    voice_->setMinimumContentsLength(kVoiceLettersAtLeast);
    voice_->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    voice_->setMaximumWidth(140);
    for (std::size_t i = 0; i < kGeneralMidiVoices.size(); ++i)
        voice_->addItem(QStringLiteral("%1 %2").arg(i + 1, 3, 10, QLatin1Char('0')).arg(kGeneralMidiVoices[i]));
    addWidget(voice_);
    connect(voice_, &QComboBox::activated, this,
            [this](int index) { dispatcher_.runHandler([this, index] { player_.setVoice(index); }); });

    syncStart_ = button([this] { player_.Cmd_Sync_Click(); });
    tap_ = button([this] { player_.Cmd_Tap_Click(); });

    sync();
    syncHook_ = dispatcher_.addAfterHandlerHook([this] { sync(); });
}

LiveInputBar::~LiveInputBar() {
    dispatcher_.removeAfterHandlerHook(syncHook_);
}

QPushButton* LiveInputBar::button(std::function<void()> handler) {
    auto* b = new QPushButton(this);
    b->setFocusPolicy(Qt::NoFocus);
    addWidget(b);
    connect(b, &QPushButton::clicked, this, [this, handler] { dispatcher_.runHandler(handler); });
    return b;
}

void LiveInputBar::sync() {
    const PlayerState& s = player_.state();
    const LiveInputSettings& live = player_.liveSettings();
    {
        const QSignalBlocker block(voice_);
        voice_->setCurrentIndex(live.voice);
    }
    voice_->setToolTip(qtString(s.Cmb_Voice.toolTip));
    split_->setText(qtString(s.Cmd_Split.caption));
    split_->setToolTip(qtString(s.Cmd_Split.toolTip));
    mode_->setText(qtString(s.Cmd_ChordMode.caption));
    chordChange_->setText(qtString(s.Cmd_ChordChange.caption));
    chordChange_->setToolTip(qtString(s.Cmd_ChordChange.toolTip));
    syncStart_->setText(qtString(s.Cmd_Sync.caption));
    syncStart_->setStyleSheet(colourSheet(s.SyncArmed, s.ColOn));
    tap_->setText(qtString(s.Cmd_Tap.caption));
    const QString status = qtString(s.Lbl_LiveStatus.caption);
    if (statusLine_ && status != shownStatus_) {
        statusLine_->showMessage(status);
        shownStatus_ = status;
    }
}

}  // namespace vornel
