#include "player/qt/ChannelPanel.h"

#include <QEvent>
#include <QPalette>
#include <QSignalBlocker>

#include "platform/qt/ControlMirror.h"

namespace vornel {

namespace {

constexpr int kTop = 7;
constexpr int kRowStep = 18;
constexpr int kNameLeft = 6, kNameWidth = 82;
constexpr int kMeterLeft = 90;
constexpr int kSwitchLeft = 230, kSwitchSize = 13;
constexpr int kTempoTop = kTop + 8 * kRowStep + 2;
// The scroll bar gives part of the meters' width to the readout beside it.
constexpr int kTempoBarWidth = 74;
constexpr int kReadoutLeft = kMeterLeft + kTempoBarWidth + 2;
constexpr int kReadoutWidth = kSwitchLeft - 2 - kReadoutLeft;
constexpr int kFocusBorder = 2;
constexpr int kMasterTop = kTempoTop + kRowStep;

// The frame that shows which scroll bar holds the focus; hidden until then.
QWidget* focusFrame(QWidget* parent, const QScrollBar& bar) {
    auto* frame = new QWidget(parent);
    frame->setGeometry(bar.geometry().adjusted(-kFocusBorder, -kFocusBorder, kFocusBorder, kFocusBorder));
    frame->setAutoFillBackground(true);
    QPalette ring = frame->palette();
    ring.setColor(QPalette::Window, ring.color(QPalette::Highlight));
    frame->setPalette(ring);
    frame->hide();
    frame->lower();
    return frame;
}

}  // namespace

ChannelPanel::ChannelPanel(QWidget* parent)
    : QFrame(parent),
      tempoLabel_(new ClickLabel(this)),
      tempoFocus_(nullptr),
      tempo_(new QScrollBar(Qt::Horizontal, this)),
      tempoReadout_(new QLabel(this)),
      metersSwitch_(new ColourButton(this)),
      masterLabel_(new ClickLabel(this)),
      masterFocus_(nullptr),
      master_(new QScrollBar(Qt::Horizontal, this)),
      masterReadout_(new QLabel(this)) {
    setFrameStyle(QFrame::Box | QFrame::Sunken);
    setFixedSize(kWidth, kHeight);
    for (int row = 0; row < 8; ++row) {
        const int y = kTop + row * kRowStep;
        auto* name = new QLabel(this);
        name->setGeometry(kNameLeft, y, kNameWidth, MeterFrame::kFrameHeight + 2);
        name->setTextFormat(Qt::PlainText);
        auto* meter = new MeterFrame(this);
        meter->move(kMeterLeft, y + 1);
        auto* sw = new ColourButton(this);
        sw->setGeometry(kSwitchLeft, y + 1, kSwitchSize, kSwitchSize);
        sw->setCursor(Qt::PointingHandCursor);
        connect(sw, &ColourButton::clicked, this, [this, row] { emit switchClicked(row); });
        names_[static_cast<std::size_t>(row)] = name;
        meters_[static_cast<std::size_t>(row)] = meter;
        switches_[static_cast<std::size_t>(row)] = sw;
    }

    tempoLabel_->setGeometry(kNameLeft, kTempoTop, kNameWidth, 16);
    tempoLabel_->setTextFormat(Qt::PlainText);
    connect(tempoLabel_, &ClickLabel::clicked, this, &ChannelPanel::tempoLabelClicked);

    // Arrows step by 1, clicks in the track by 5, +100 at the right end.
    tempo_->setRange(-100, 100);
    tempo_->setSingleStep(1);
    tempo_->setPageStep(5);
    tempo_->setValue(0);
    // A scroll bar's keys are inverted by default (for vertical bars); here
    // the right arrow moves the thumb, and the tempo, up.
    tempo_->setInvertedControls(false);
    // Change comes once the value is settled; Scroll follows the thumb.
    tempo_->setTracking(false);
    // The scroll bar keeps the focus once clicked, for its arrow keys, and
    // shows that it has it; Tab never lands on it. The letter and function
    // keys still reach the chords: the window passes on what it ignores.
    tempo_->setFocusPolicy(Qt::ClickFocus);
    tempo_->setGeometry(kMeterLeft, kTempoTop, kTempoBarWidth, 16);
    tempo_->installEventFilter(this);
    tempoFocus_ = focusFrame(this, *tempo_);
    connect(tempo_, &QScrollBar::valueChanged, this, &ChannelPanel::tempoChanged);
    connect(tempo_, &QScrollBar::sliderMoved, this, &ChannelPanel::tempoScrolled);

    tempoReadout_->setGeometry(kReadoutLeft, kTempoTop, kReadoutWidth, 16);
    tempoReadout_->setTextFormat(Qt::PlainText);
    tempoReadout_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    metersSwitch_->setGeometry(kSwitchLeft, kTempoTop + 1, kSwitchSize, kSwitchSize);
    connect(metersSwitch_, &ColourButton::clicked, this, &ChannelPanel::metersSwitchClicked);

    // The master volume works as the tempo does: arrows by 1, the track by 5
    // (as Page Up and Page Down in the window), a click on the label for the
    // default.
    masterLabel_->setGeometry(kNameLeft, kMasterTop, kNameWidth, 16);
    masterLabel_->setTextFormat(Qt::PlainText);
    connect(masterLabel_, &ClickLabel::clicked, this, &ChannelPanel::masterLabelClicked);
    master_->setRange(0, 127);
    master_->setSingleStep(1);
    master_->setPageStep(5);
    master_->setInvertedControls(false);
    master_->setTracking(false);
    master_->setFocusPolicy(Qt::ClickFocus);
    master_->setGeometry(kMeterLeft, kMasterTop, kTempoBarWidth, 16);
    master_->installEventFilter(this);
    masterFocus_ = focusFrame(this, *master_);
    connect(master_, &QScrollBar::valueChanged, this, &ChannelPanel::masterChanged);
    masterReadout_->setGeometry(kReadoutLeft, kMasterTop, kReadoutWidth, 16);
    masterReadout_->setTextFormat(Qt::PlainText);
    masterReadout_->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

void ChannelPanel::sync(const PlayerState& state) {
    for (std::size_t row = 0; row < 8; ++row) {
        const Control& name = state.Label6[row];
        mirrorControl(*names_[row], name);
        const QString caption = qtString(name.caption);
        if (names_[row]->text() != caption) names_[row]->setText(caption);

        meters_[row]->setLength(MeterFrame::pixelsForTwips(state.ProgressBar2[kFirstMeterChannel + row]));

        const Control& sw = state.Cmd_DisCh[row];
        mirrorControl(*switches_[row], sw);
        switches_[row]->setColour(qtColour(sw.colour));
    }

    mirrorControl(*tempoLabel_, state.Label1);
    const QString tempoCaption = qtString(state.Label1.caption);
    if (tempoLabel_->text() != tempoCaption) tempoLabel_->setText(tempoCaption);

    // Not while the user drags the thumb: the value would pull it back. And
    // without signals: showing the value is not the user changing it.
    if (!tempo_->isSliderDown() && tempo_->value() != state.engine.TempoShift) {
        const QSignalBlocker quiet(tempo_);
        tempo_->setValue(state.engine.TempoShift);
    }

    mirrorCaptioned(*tempoReadout_, state.TempoReadout);

    mirrorControl(*metersSwitch_, state.Command1);
    metersSwitch_->setColour(qtColour(state.Command1.colour));

    mirrorCaptioned(*masterLabel_, state.Lbl_Master);
    mirrorControl(*master_, state.Scr_Master);
    if (!master_->isSliderDown() && master_->value() != state.MasterVolume) {
        const QSignalBlocker quiet(master_);
        master_->setValue(state.MasterVolume);
    }
    mirrorCaptioned(*masterReadout_, state.MasterReadout);
}

bool ChannelPanel::eventFilter(QObject* watched, QEvent* event) {
    const bool focus = event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut;
    if (focus && watched == tempo_) tempoFocus_->setVisible(event->type() == QEvent::FocusIn);
    if (focus && watched == master_) masterFocus_->setVisible(event->type() == QEvent::FocusIn);
    return QFrame::eventFilter(watched, event);
}

}  // namespace vornel
