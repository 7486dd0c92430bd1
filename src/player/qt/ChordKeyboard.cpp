#include "player/qt/ChordKeyboard.h"

#include <QRect>

namespace vornel {

namespace {

constexpr std::array<bool, 12> kSharp{false, true,  false, true,  false, false,
                                      true,  false, true,  false, true,  false};
// Natural keys C D E F G A B in pixels: the outer keys of each group of two
// or three get the wider 510 twips, the keys between two sharps 465.
constexpr std::array<int, 7> kNaturalWidth{34, 31, 34, 34, 31, 31, 34};
constexpr int kSharpWidth = 19;   // 285 twips
constexpr int kSharpHeight = 40;  // 600 twips

}  // namespace

int ChordKeyboard::keyboardWidth() {
    int w = 0;
    for (int n : kNaturalWidth) w += n;
    return w;
}

ChordKeyboard::ChordKeyboard(QWidget* parent) : QWidget(parent) {
    setFixedSize(keyboardWidth(), kKeyHeight);
    std::array<QRect, 12> place;
    int x = 0;
    int natural = 0;
    for (std::size_t note = 0; note < 12; ++note) {
        if (kSharp[note]) {
            place[note] = QRect(x - kSharpWidth / 2, 0, kSharpWidth,
                                kSharpHeight);  // over the gap just passed
        } else {
            const int w = kNaturalWidth[static_cast<std::size_t>(natural++)];
            place[note] = QRect(x, 0, w, kKeyHeight);
            x += w;
        }
    }
    // Natural keys first, so the sharp keys made afterwards lie on top of them.
    for (bool sharpPass : {false, true}) {
        for (std::size_t note = 0; note < 12; ++note) {
            if (kSharp[note] != sharpPass) continue;
            auto* key = new ChordKey(kSharp[note], this);
            key->setGeometry(place[note]);
            const int n = static_cast<int>(note);
            connect(key, &ChordKey::clicked, this, [this, n] { emit keyClicked(n); });
            keys_[note] = key;
        }
    }
}

}  // namespace vornel
