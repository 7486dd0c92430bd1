#include "player/qt/LiveInputBar.h"

#include <QSignalBlocker>

#include "midi/input/MidiInputPort.h"
#include "platform/qt/QtConversions.h"
#include "player/GeneralMidiVoices.h"
#include "settings/Language.h"

namespace vornel {

LiveInputBar::LiveInputBar(Player& player, QtDispatcher& dispatcher, MidiInputProvider& inputs, QWidget* parent)
    : QToolBar(parent), player_(player), dispatcher_(dispatcher), inputs_(inputs) {
    setMovable(false);
    setFloatable(false);

    device_ = new QComboBox(this);
    device_->setFocusPolicy(Qt::NoFocus);
    device_->setMaximumWidth(130);
    device_->addItem(QString());  // none; named in sync(), in the window's language
    for (int i = 0; i < inputs_.count(); ++i) device_->addItem(qtString(inputs_.name(i)));
    addWidget(device_);
    connect(device_, &QComboBox::activated, this, [this](int index) {
        dispatcher_.runHandler([this, index] { player_.openLiveInput(inputs_, index - 1); });
    });

    split_ = button([this] { player_.Cmd_Split_Click(); });
    mode_ = button([this] { player_.Cmd_ChordMode_Click(); });

    voice_ = new QComboBox(this);
    voice_->setFocusPolicy(Qt::NoFocus);
    voice_->setMaximumWidth(140);
    for (std::size_t i = 0; i < kGeneralMidiVoices.size(); ++i)
        voice_->addItem(QStringLiteral("%1 %2").arg(i + 1, 3, 10, QLatin1Char('0')).arg(kGeneralMidiVoices[i]));
    addWidget(voice_);
    connect(voice_, &QComboBox::activated, this,
            [this](int index) { dispatcher_.runHandler([this, index] { player_.setVoice(index); }); });

    syncStart_ = button([this] { player_.Cmd_Sync_Click(); });
    tap_ = button([this] { player_.Cmd_Tap_Click(); });
    chord_ = new QLabel(this);
    chord_->setMinimumWidth(48);
    addWidget(chord_);

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
        const QSignalBlocker block(device_);
        device_->setItemText(0, s.language.LangNo == kLangEnglish ? QStringLiteral("none") : QStringLiteral("yok"));
        device_->setCurrentIndex(live.device + 1 < device_->count() ? live.device + 1 : 0);
    }
    {
        const QSignalBlocker block(voice_);
        voice_->setCurrentIndex(live.voice);
    }
    split_->setText(qtString(s.Cmd_Split.caption));
    mode_->setText(qtString(s.Cmd_ChordMode.caption));
    syncStart_->setText(qtString(s.Cmd_Sync.caption));
    syncStart_->setStyleSheet(
        s.SyncArmed ? QStringLiteral("background-color: rgb(%1,%2,%3)").arg(s.ColOn.r).arg(s.ColOn.g).arg(s.ColOn.b)
                    : QString());
    tap_->setText(qtString(s.Cmd_Tap.caption));
    chord_->setText(qtString(s.Lbl_LiveChord.caption));
    const QString status = qtString(s.Lbl_LiveStatus.caption);
    device_->setToolTip(status);
    if (statusLine_ && status != shownStatus_) {
        statusLine_->showMessage(status);
        shownStatus_ = status;
    }
}

}  // namespace vornel
