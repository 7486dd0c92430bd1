#pragma once

#include <QAbstractButton>
#include <QColor>

namespace vornel {

// A flat push button whose background colour is the state it shows: the part
// buttons, the channel switches and the meters switch. It never takes the
// keyboard focus, so the keyboard sink keeps it after a click.
class ColourButton final : public QAbstractButton {
    Q_OBJECT

public:
    explicit ColourButton(QWidget* parent = nullptr);

    void setColour(const QColor& colour);
    QColor colour() const { return colour_; }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QColor colour_{224, 224, 224};
};

}  // namespace vornel
