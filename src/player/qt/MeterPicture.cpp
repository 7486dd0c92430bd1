#include "player/qt/MeterPicture.h"

#include <algorithm>
#include <array>

namespace vornel {

namespace {

struct Segment {
    int endX;  // first column after the segment
    QColor colour;
};

// Most of the range is green; the warm colours are the top fifth, as on a
// mixing desk.
const std::array<Segment, 6>& segments() {
    static const std::array<Segment, 6> s{{
        {44, QColor(0, 110, 0)},                    // dark green
        {88, QColor(0, 210, 0)},                    // green
        {106, QColor(240, 230, 0)},                 // yellow
        {118, QColor(255, 150, 0)},                 // orange
        {127, QColor(235, 0, 0)},                   // red
        {MeterPicture::kWidth, QColor(140, 0, 0)},  // dark red
    }};
    return s;
}

constexpr int kCell = 4;  // a lamp of three pixels and a one-pixel gap
const QColor kBorder(128, 128, 128);
const QColor kGap(24, 24, 24);

}  // namespace

QColor MeterPicture::segmentColour(int x) {
    for (const Segment& s : segments())
        if (x < s.endX) return s.colour;
    return segments().back().colour;
}

void MeterPicture::draw(QPainter& painter) {
    painter.save();
    painter.fillRect(0, 0, kWidth, kHeight, kGap);
    // Lamps inside the one-pixel border, each in the colour of its segment.
    for (int x = 1; x < kWidth - 1; x += kCell) {
        const int w = std::min(kCell - 1, kWidth - 1 - x);
        painter.fillRect(x, 1, w, kHeight - 2, segmentColour(x));
    }
    painter.setPen(kBorder);
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(0, 0, kWidth - 1, kHeight - 1);
    painter.restore();
}

QImage MeterPicture::image() {
    QImage img(kWidth, kHeight, QImage::Format_RGB32);
    QPainter p(&img);
    draw(p);
    return img;
}

}  // namespace vornel
