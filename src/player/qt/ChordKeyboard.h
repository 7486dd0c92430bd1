#pragma once

#include <QWidget>
#include <array>

#include "player/qt/ChordKey.h"

namespace vornel {

// A one-octave piano keyboard of twelve chord labels, C to B: the natural keys
// white and wide (465 or 510 x 825 twips), the sharp keys black and narrow
// (285 x 600 twips) over the gaps between them.
class ChordKeyboard final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kKeyHeight = 55;  // 825 twips

    explicit ChordKeyboard(QWidget* parent = nullptr);

    ChordKey& key(int note) { return *keys_[static_cast<std::size_t>(note)]; }
    static int keyboardWidth();

signals:
    // A click on the key of note 0..11 (C..B).
    void keyClicked(int note);

private:
    std::array<ChordKey*, 12> keys_{};
};

}  // namespace vornel
