#pragma once

#include <QColor>
#include <QString>
#include <QWidget>

namespace vornel {

// One chord label drawn as a piano key: its background is the label's colour
// (its own white or black, the selected or the blink colour), its caption sits
// at the lower end where the black keys leave it visible.
class ChordKey final : public QWidget {
    Q_OBJECT

public:
    ChordKey(bool sharp, QWidget* parent = nullptr);

    bool sharp() const { return sharp_; }
    void setCaption(const QString& caption);
    QString caption() const { return caption_; }
    void setColour(const QColor& colour);
    QColor colour() const { return colour_; }

signals:
    void clicked();

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void changeEvent(QEvent* event) override;

private:
    bool sharp_;
    bool pressed_ = false;
    QString caption_;
    QColor colour_;
};

}  // namespace vornel
