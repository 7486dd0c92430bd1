#include "player/qt/MeterFrame.h"

#include <QPainter>
#include <algorithm>
#include <cmath>

#include "player/qt/MeterPicture.h"

namespace vornel {

namespace {
constexpr int kBarLeft = 2;
constexpr int kBarTop = 1;
}  // namespace

MeterFrame::MeterFrame(QWidget* parent) : QWidget(parent) {
    setFixedSize(kFrameWidth, kFrameHeight);
    setAttribute(Qt::WA_OpaquePaintEvent);
}

void MeterFrame::setLength(int pixels) {
    pixels = std::clamp(pixels, 0, MeterPicture::kWidth);
    if (pixels == length_) return;
    length_ = pixels;
    update();
}

// A length that is not a number (it never should be) shows an empty bar.
int MeterFrame::pixelsForTwips(float twips) {
    if (!(twips > 0.0f)) return 0;
    const float px = std::floor(twips / 15.0f);
    return px >= MeterPicture::kWidth ? MeterPicture::kWidth : static_cast<int>(px);
}

void MeterFrame::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.fillRect(rect(), Qt::black);
    if (length_ <= 0) return;
    p.setClipRect(kBarLeft, kBarTop, length_, MeterPicture::kHeight);
    p.translate(kBarLeft, kBarTop);
    MeterPicture::draw(p);
}

}  // namespace vornel
