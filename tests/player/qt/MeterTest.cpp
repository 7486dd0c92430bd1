#include <gtest/gtest.h>

#include <QImage>
#include <cmath>
#include <limits>

#include "player/qt/MeterFrame.h"
#include "player/qt/MeterPicture.h"

namespace vornel {
namespace {

// A column in the middle of a lamp (lamps are three pixels, then a gap).
bool lampColumn(int x) {
    return x >= 1 && x < MeterPicture::kWidth - 1 && (x - 1) % 4 != 3;
}

TEST(MeterPictureTest, RunsFromGreenThroughYellowToRedInsideAGreyBorder) {
    const QImage img = MeterPicture::image();
    ASSERT_EQ(img.size(), QSize(132, 11));
    for (QPoint corner :
         {QPoint(0, 0), QPoint(131, 0), QPoint(0, 10), QPoint(131, 10), QPoint(60, 0)}) {
        const QColor c = img.pixelColor(corner);
        EXPECT_EQ(c.red(), c.green()) << corner.x();  // grey
        EXPECT_EQ(c.green(), c.blue());
        EXPECT_GT(c.red(), 64);
    }
    const QColor left = img.pixelColor(5, 5), mid = img.pixelColor(97, 5),
                 right = img.pixelColor(129, 5);
    EXPECT_GT(left.green(), 2 * left.red());
    EXPECT_GT(mid.red(), 200);  // yellow: red and green both high
    EXPECT_GT(mid.green(), 200);
    EXPECT_GT(right.red(), 2 * right.green());
    // Green covers the lower part of the scale, red only the top.
    EXPECT_GT(img.pixelColor(61, 5).green(), img.pixelColor(61, 5).red());
    EXPECT_GT(img.pixelColor(121, 5).red(), img.pixelColor(121, 5).green());
    // Lamps are separated by dark gaps.
    EXPECT_LT(img.pixelColor(4, 5).lightness(), 40);
    // Each lamp is one colour: that of the segment where it starts.
    for (int x = 0; x < MeterPicture::kWidth; ++x) {
        if (lampColumn(x)) {
            ASSERT_EQ(img.pixelColor(x, 5), MeterPicture::segmentColour(x - (x - 1) % 4)) << x;
        }
    }
}

TEST(MeterFrameTest, LengthsInTwipsBecomeWholePixelsWithinThePicture) {
    EXPECT_EQ(MeterFrame::pixelsForTwips(1980.0f), 132);
    EXPECT_EQ(MeterFrame::pixelsForTwips(997.8f), 66);
    EXPECT_EQ(MeterFrame::pixelsForTwips(14.9f), 0);
    EXPECT_EQ(MeterFrame::pixelsForTwips(15.0f), 1);
    EXPECT_EQ(MeterFrame::pixelsForTwips(0.0f), 0);
    EXPECT_EQ(MeterFrame::pixelsForTwips(-124.7f), 0);
    EXPECT_EQ(MeterFrame::pixelsForTwips(1e9f), 132);
    EXPECT_EQ(MeterFrame::pixelsForTwips(std::numeric_limits<float>::quiet_NaN()), 0);
    EXPECT_EQ(MeterFrame::pixelsForTwips(std::numeric_limits<float>::infinity()), 132);
}

// The bar uncovers the picture from its left end: the same pixels at the same
// places for any length, black beyond it.
TEST(MeterFrameTest, RevealsThePictureWithoutStretchingIt) {
    const QImage picture = MeterPicture::image();
    MeterFrame frame;
    ASSERT_EQ(frame.size(), QSize(136, 13));
    frame.setLength(66);
    QImage shown = frame.grab().toImage();
    for (int x = 0; x < 66; ++x)
        ASSERT_EQ(shown.pixelColor(2 + x, 6), picture.pixelColor(x, 5)) << x;
    for (int x = 66; x < 134; ++x) ASSERT_EQ(shown.pixelColor(2 + x, 6), QColor(Qt::black)) << x;
    EXPECT_EQ(shown.pixelColor(0, 6), QColor(Qt::black));
    EXPECT_EQ(shown.pixelColor(40, 0), QColor(Qt::black));

    frame.setLength(132);
    shown = frame.grab().toImage();
    for (int x = 0; x < 132; ++x)
        ASSERT_EQ(shown.pixelColor(2 + x, 6), picture.pixelColor(x, 5)) << x;

    frame.setLength(-3);
    EXPECT_EQ(frame.length(), 0);
    EXPECT_EQ(frame.grab().toImage().pixelColor(10, 6), QColor(Qt::black));
    frame.setLength(500);
    EXPECT_EQ(frame.length(), 132);
}

}  // namespace
}  // namespace vornel
