#pragma once

#include <QGroupBox>
#include <array>

#include "player/PlayerState.h"
#include "player/qt/ColourButton.h"
#include "style/PartTable.h"

namespace vornel {

// Frm_Style: the eighteen part buttons in a grid of variations A to D (rows)
// by Intro, Main, Fill In and Ending (columns), the cross fills AB and BA
// below the Fill In column, and beside them the auto fill switch.
class StyleFrame final : public QGroupBox {
    Q_OBJECT

public:
    static constexpr int kWidth = 276;
    static constexpr int kHeight = 178;

    explicit StyleFrame(QWidget* parent = nullptr);

    void sync(const PlayerState& state);
    ColourButton& button(int index) { return *buttons_[static_cast<std::size_t>(index)]; }
    ColourButton& autoFill() { return *autoFill_; }
    // Row and column (from 0) of button `index` in the grid.
    static QPoint cellOf(int index);

signals:
    void partClicked(int index);
    void autoFillClicked();

private:
    std::array<ColourButton*, kPartCount> buttons_{};
    ColourButton* autoFill_ = nullptr;
};

}  // namespace vornel
