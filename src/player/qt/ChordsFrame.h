#pragma once

#include <QGroupBox>
#include <QLabel>

#include "player/PlayerState.h"
#include "player/qt/ChordKeyboard.h"

namespace vornel {

// Frm_Chords: the major keyboard (chord labels 0..11) and the minor keyboard
// (12..23) side by side, a thin divider between them, "MAJOR" above the right
// end of the first and "MINOR" above the left end of the second; the chord a
// MIDI keyboard named last above the left end of the first.
class ChordsFrame final : public QGroupBox {
    Q_OBJECT

public:
    static constexpr int kWidth = 528;
    static constexpr int kHeight = 100;

    explicit ChordsFrame(QWidget* parent = nullptr);

    void sync(const PlayerState& state);
    // Chord label 0..23.
    ChordKey& label(int index);
    QLabel* liveChord() const { return liveChord_; }

signals:
    void chordClicked(int index);

private:
    ChordKeyboard* major_;
    ChordKeyboard* minor_;
    QLabel* liveChord_;
};

}  // namespace vornel
