#include "player/qt/StyleFrame.h"

#include "platform/qt/ControlMirror.h"

namespace vornel {

namespace {

// Button index by row (A, B, C, D, then the two cross fills) and column
// (Intro, Main, Fill In, Ending); -1 where the grid has no button.
constexpr int kGrid[6][4] = {
    {0, 1, 2, 3},     {7, 6, 5, 4},     {11, 10, 9, 8},
    {15, 14, 13, 12}, {-1, -1, 16, -1}, {-1, -1, 17, -1},
};

constexpr int kLeft = 8, kTop = 20;
constexpr int kButtonWidth = 63, kButtonHeight = 22;
constexpr int kColumnStep = 66, kRowStep = 26;

}  // namespace

QPoint StyleFrame::cellOf(int index) {
    for (int row = 0; row < 6; ++row)
        for (int col = 0; col < 4; ++col)
            if (kGrid[row][col] == index) return {col, row};
    return {-1, -1};
}

StyleFrame::StyleFrame(QWidget* parent) : QGroupBox(parent) {
    setFixedSize(kWidth, kHeight);
    for (int index = 0; index < kPartCount; ++index) {
        auto* b = new ColourButton(this);
        const QPoint cell = cellOf(index);
        b->setGeometry(kLeft + cell.x() * kColumnStep, kTop + cell.y() * kRowStep, kButtonWidth,
                       kButtonHeight);
        connect(b, &ColourButton::clicked, this, [this, index] { emit partClicked(index); });
        buttons_[static_cast<std::size_t>(index)] = b;
    }
    // The grid's empty corner left of the cross fills: the switch sits with
    // the fills it chooses.
    autoFill_ = new ColourButton(this);
    autoFill_->setGeometry(kLeft, kTop + 4 * kRowStep, kButtonWidth + kColumnStep, kButtonHeight);
    connect(autoFill_, &ColourButton::clicked, this, [this] { emit autoFillClicked(); });
}

void StyleFrame::sync(const PlayerState& state) {
    mirrorControl(*this, state.Frm_Style);
    const QString title = qtString(state.Frm_Style.caption);
    if (this->title() != title) setTitle(title);
    for (std::size_t i = 0; i < buttons_.size(); ++i) {
        const Control& c = state.Cmd_Part[i];
        ColourButton& b = *buttons_[i];
        mirrorControl(b, c);
        const QString caption = qtString(c.caption);
        if (b.text() != caption) b.setText(caption);
        b.setColour(qtColour(c.colour));
    }
    mirrorControl(*autoFill_, state.Cmd_AutoFill);
    const QString caption = qtString(state.Cmd_AutoFill.caption);
    if (autoFill_->text() != caption) autoFill_->setText(caption);
    autoFill_->setColour(qtColour(state.Cmd_AutoFill.colour));
}

}  // namespace vornel
