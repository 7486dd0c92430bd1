#include "player/qt/ChordsFrame.h"

#include <QFrame>

#include "platform/qt/ControlMirror.h"

namespace vornel {

namespace {
constexpr int kKeysTop = 36;
constexpr int kCaptionTop = 18;
constexpr int kGapToDivider = 14;
}  // namespace

ChordsFrame::ChordsFrame(QWidget* parent)
    : QGroupBox(parent),
      major_(new ChordKeyboard(this)),
      minor_(new ChordKeyboard(this)),
      liveChord_(new QLabel(this)) {
    setFixedSize(kWidth, kHeight);
    const int keysWidth = ChordKeyboard::keyboardWidth();
    const int middle = kWidth / 2;
    major_->move(middle - kGapToDivider - keysWidth, kKeysTop);
    minor_->move(middle + kGapToDivider, kKeysTop);

    auto* divider = new QFrame(this);
    divider->setFrameShape(QFrame::VLine);
    divider->setFrameShadow(QFrame::Sunken);
    divider->setGeometry(middle - 1, kCaptionTop, 2,
                         kKeysTop + ChordKeyboard::kKeyHeight - kCaptionTop);

    // Names of the keyboards; the same in every language.
    auto* majorCaption = new QLabel(QStringLiteral("MAJOR"), this);
    majorCaption->setAlignment(Qt::AlignRight | Qt::AlignBottom);
    majorCaption->setGeometry(major_->x(), kCaptionTop, keysWidth, kKeysTop - kCaptionTop - 2);
    auto* minorCaption = new QLabel(QStringLiteral("MINOR"), this);
    minorCaption->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    minorCaption->setGeometry(minor_->x(), kCaptionTop, keysWidth, kKeysTop - kCaptionTop - 2);

    // The chord the MIDI keyboard's left hand named last, on the captions' row
    // at the left end of the major keyboard, where a player's eye is on the
    // labels it lights.
    liveChord_->setObjectName("Lbl_LiveChord");
    QFont bold = liveChord_->font();
    bold.setBold(true);
    liveChord_->setFont(bold);
    liveChord_->setAlignment(Qt::AlignLeft | Qt::AlignBottom);
    liveChord_->setGeometry(major_->x(), kCaptionTop, keysWidth / 2, kKeysTop - kCaptionTop - 2);

    connect(major_, &ChordKeyboard::keyClicked, this,
            [this](int note) { emit chordClicked(note); });
    connect(minor_, &ChordKeyboard::keyClicked, this,
            [this](int note) { emit chordClicked(12 + note); });
}

ChordKey& ChordsFrame::label(int index) {
    return index < 12 ? major_->key(index) : minor_->key(index - 12);
}

void ChordsFrame::sync(const PlayerState& state) {
    mirrorControl(*this, state.Frm_Chords);
    const QString title = qtString(state.Frm_Chords.caption);
    if (this->title() != title) setTitle(title);
    for (int i = 0; i < 24; ++i) {
        const Control& c = state.Lbl_Chord[static_cast<std::size_t>(i)];
        ChordKey& key = label(i);
        mirrorControl(key, c);
        key.setCaption(qtString(c.caption));
        key.setColour(qtColour(c.colour));
    }
    mirrorCaptioned(*liveChord_, state.Lbl_LiveChord);
}

}  // namespace vornel
