#include "windows/qt/KeyMapWindow.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>
#include <QString>
#include <algorithm>

#include "platform/qt/QtDispatcher.h"
#include "windows/qt/ControlView.h"

namespace vornel {

namespace {

// The window's design in twips.
constexpr int kWidthTwips = 7800;
constexpr int kHeightTwips = 4860;
constexpr int kFrameLeftTwips = 120;
constexpr int kFrameTopTwips = 120;
constexpr int kFrameWidthTwips = 7560;
constexpr int kFrameHeightTwips = 3600;
// Inside the frame: the first row, the row pitch and the four columns.
constexpr int kFirstRowTwips = 240;
constexpr int kRowTwips = 270;
constexpr int kLetterKeyLeftTwips = 240;
constexpr int kLetterActionLeftTwips = 1860;
constexpr int kFunctionKeyLeftTwips = 3960;
constexpr int kFunctionActionLeftTwips = 5400;
constexpr int kNoteTopTwips = 3840;
constexpr int kOkTopTwips = 4260;
constexpr int kOkWidthTwips = 1500;
constexpr int kOkHeightTwips = 420;
// F11, F12, Alt + C and Page Up / Page Down stand in the right half right
// below F8, level with the letter keys' last rows.
constexpr int kKeyboardFirstRow = 8;
// The MIDI keyboard's paragraph: under the note on minor chords, as wide as
// the frame's rows, and this much space below it.
constexpr int kKeyboardNoteWidthTwips = kFrameWidthTwips - 2 * kLetterKeyLeftTwips;
constexpr int kKeyboardNoteGapTwips = 120;

}  // namespace

KeyMapWindow::KeyMapWindow(KeyMapForm& model, QtDispatcher& dispatcher, QWidget* parent)
    : ModelWindow(
          dispatcher, model.window, [&model] { model.Command1_Click(); }, parent),
      model_(model),
      frame1_(new QFrame(this)),
      label3_(plainLabel("Label3", this)),
      keyboardNote_(plainLabel("KeyboardNote", this)),
      command1_(new QPushButton(this)) {
    setObjectName("frmMap");
    frame1_->setObjectName("Frame1");
    command1_->setObjectName("Command1");
    frame1_->setFrameShape(QFrame::Box);
    frame1_->setFrameShadow(QFrame::Sunken);
    // The design's row pitch suits the standard font; a larger desktop font
    // spreads the rows, and the frame and the window grow with them.
    const int designPitch = px(kRowTwips);
    const int pitch = std::max(designPitch, fontMetrics().height() + 2);
    const int grow = (pitch - designPitch) * KeyMapForm::kLetterKeyCount;
    frame1_->setGeometry(px(kFrameLeftTwips), px(kFrameTopTwips), px(kFrameWidthTwips), px(kFrameHeightTwips) + grow);

    for (int i = 0; i < KeyMapForm::kPairCount; ++i) {
        const bool letter = i < KeyMapForm::kLetterKeyCount;
        const int row = letter ? i : i - KeyMapForm::kLetterKeyCount;
        const int top = px(kFirstRowTwips) + row * pitch;
        QLabel* key = plainLabel(QString("Label1_%1").arg(i), frame1_);
        QLabel* action = plainLabel(QString("Label2_%1").arg(i), frame1_);
        key->move(px(letter ? kLetterKeyLeftTwips : kFunctionKeyLeftTwips), top);
        action->move(px(letter ? kLetterActionLeftTwips : kFunctionActionLeftTwips), top);
        label1_[static_cast<std::size_t>(i)] = key;
        label2_[static_cast<std::size_t>(i)] = action;
    }
    for (int i = 0; i < KeyMapForm::kKeyboardPairCount; ++i) {
        const int top = px(kFirstRowTwips) + (kKeyboardFirstRow + i) * pitch;
        QLabel* key = plainLabel(QString("KeyboardKey_%1").arg(i), frame1_);
        QLabel* action = plainLabel(QString("KeyboardAction_%1").arg(i), frame1_);
        key->move(px(kFunctionKeyLeftTwips), top);
        action->move(px(kFunctionActionLeftTwips), top);
        keyboardKey_[static_cast<std::size_t>(i)] = key;
        keyboardAction_[static_cast<std::size_t>(i)] = action;
    }
    label3_->move(px(kFrameLeftTwips + kLetterKeyLeftTwips), px(kNoteTopTwips) + grow);
    keyboardNote_->setWordWrap(true);
    grow_ = grow;
    layOutKeyboardNote();

    connect(command1_, &QPushButton::clicked, this, [this] { forward([this] { model_.Command1_Click(); }); });
    // OK is the window's only button: Enter and Escape both close it.
    setDialogKeys([this] { model_.Command1_Click(); }, [this] { model_.Command1_Click(); });

    followModel();
}

// The paragraph's height follows its language; OK and the window's bottom
// move with it.
void KeyMapWindow::layOutKeyboardNote() {
    const int width = px(kKeyboardNoteWidthTwips);
    const int height = keyboardNote_->text().isEmpty() ? 0 : keyboardNote_->heightForWidth(width);
    const int top = label3_->y() + std::max(label3_->sizeHint().height(), fontMetrics().height()) + 4;
    keyboardNote_->setGeometry(label3_->x(), top, width, std::max(height, 0));
    const int okTop =
        std::max(px(kOkTopTwips) + grow_, keyboardNote_->geometry().bottom() + 1 + px(kKeyboardNoteGapTwips));
    command1_->setGeometry(px((kWidthTwips - kOkWidthTwips) / 2), okTop, px(kOkWidthTwips), px(kOkHeightTwips));
    setFixedSize(px(kWidthTwips), okTop + px(kHeightTwips - kOkTopTwips));
}

void KeyMapWindow::sync() {
    setWindowTitle(qtString(model_.window.caption));
    mirrorControl(*frame1_, model_.Frame1);
    for (std::size_t i = 0; i < label1_.size(); ++i) {
        if (mirrorCaptioned(*label1_[i], model_.Label1[i])) label1_[i]->adjustSize();
        if (mirrorCaptioned(*label2_[i], model_.Label2[i])) label2_[i]->adjustSize();
    }
    if (mirrorCaptioned(*label3_, model_.Label3)) label3_->adjustSize();
    for (std::size_t i = 0; i < keyboardKey_.size(); ++i) {
        if (mirrorCaptioned(*keyboardKey_[i], model_.KeyboardKey[i])) keyboardKey_[i]->adjustSize();
        if (mirrorCaptioned(*keyboardAction_[i], model_.KeyboardAction[i])) keyboardAction_[i]->adjustSize();
    }
    if (mirrorCaptioned(*keyboardNote_, model_.KeyboardNote)) layOutKeyboardNote();
    mirrorCaptioned(*command1_, model_.Command1);
    followVisibility();
}

}  // namespace vornel
