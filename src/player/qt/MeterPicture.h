#pragma once

#include <QImage>
#include <QPainter>

namespace vornel {

// The level meter's source picture (Image1): a 132 x 11 pixel bar with a grey
// border whose segments run from dark green through green, yellow and orange
// to red and dark red. A meter bar reveals it from its left end. It is drawn
// in code rather than stored, so it stays sharp at any screen scale.
class MeterPicture {
public:
    static constexpr int kWidth = 132;
    static constexpr int kHeight = 11;

    // Draws the whole picture with its top-left corner at the painter's origin.
    static void draw(QPainter& painter);
    // The picture at one device pixel per pixel.
    static QImage image();
    // The colour of the segment that covers column x (0..kWidth-1) inside the border.
    static QColor segmentColour(int x);
};

}  // namespace vornel
