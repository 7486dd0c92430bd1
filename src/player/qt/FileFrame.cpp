#include "player/qt/FileFrame.h"

#include "platform/qt/ControlMirror.h"

namespace vornel {

namespace {

struct Place {
    int x, y, captionWidth, valueWidth;
};

// Name and copyright take a whole line each; the four numbers share two.
constexpr std::array<Place, 6> kPlaces{{
    {8, 18, 72, 432},    // name
    {8, 36, 72, 432},    // copyright
    {8, 54, 72, 110},    // time signature
    {200, 54, 72, 110},  // tempo
    {8, 72, 72, 110},    // size
    {200, 72, 72, 110},  // data count
}};
constexpr int kLineHeight = 16;

}  // namespace

FileFrame::FileFrame(QWidget* parent) : QGroupBox(parent), label7_(new QLabel(this)) {
    setFixedSize(kWidth, kHeight);
    for (std::size_t i = 0; i < kPlaces.size(); ++i) {
        const Place& p = kPlaces[i];
        captions_[i] = new QLabel(this);
        captions_[i]->setGeometry(p.x, p.y, p.captionWidth, kLineHeight);
        captions_[i]->setTextFormat(Qt::PlainText);
        values_[i] = new QLabel(this);
        values_[i]->setGeometry(p.x + p.captionWidth + 4, p.y, p.valueWidth, kLineHeight);
        // A style's name or copyright is text from the file, never markup.
        values_[i]->setTextFormat(Qt::PlainText);
    }
    // 45 twips: wide enough for its "-", not for the path it receives.
    label7_->setGeometry(kWidth - 10, kHeight - kLineHeight - 4, 3, kLineHeight);
    label7_->setTextFormat(Qt::PlainText);
}

void FileFrame::sync(const PlayerState& state) {
    mirrorControl(*this, state.Frm_File);
    const QString title = qtString(state.Frm_File.caption);
    if (this->title() != title) setTitle(title);
    const std::array<const Control*, 6> captions{&state.Lbl_NameN,     &state.Lbl_CopyN,
                                                 &state.Lbl_TimeSignN, &state.Lbl_TempoN,
                                                 &state.Lbl_SizeN,     &state.Lbl_DataCN};
    const std::array<const Control*, 6> values{&state.Lbl_Name,     &state.Lbl_Copy,
                                               &state.Lbl_TimeSign, &state.Lbl_Tempo,
                                               &state.Lbl_Size,     &state.Lbl_DataC};
    for (std::size_t i = 0; i < 6; ++i) {
        mirrorLabel(*captions_[i], *captions[i]);
        mirrorLabel(*values_[i], *values[i]);
    }
    mirrorLabel(*label7_, state.Label7);
}

}  // namespace vornel
