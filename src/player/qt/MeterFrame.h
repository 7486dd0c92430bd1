#pragma once

#include <QWidget>

namespace vornel {

// One channel's meter: the black frame Picture2 (136 x 13 pixels, 2040 x 195
// twips) holding the bar ProgressBar2, which shows the first `length` pixels
// of the meter picture without stretching it.
class MeterFrame final : public QWidget {
    Q_OBJECT

public:
    static constexpr int kFrameWidth = 136;
    static constexpr int kFrameHeight = 13;

    explicit MeterFrame(QWidget* parent = nullptr);

    // Bar length in pixels, held within 0 .. the picture's width.
    void setLength(int pixels);
    int length() const { return length_; }

    // The bar length in pixels for a length in twips: 15 twips a pixel,
    // nothing below zero or beyond the picture.
    static int pixelsForTwips(float twips);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    int length_ = 0;
};

}  // namespace vornel
