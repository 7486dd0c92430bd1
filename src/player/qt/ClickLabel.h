#pragma once

#include <QLabel>

namespace vornel {

// A label that answers a click (press and release of the left button over it)
// and shows the pointing hand over it.
class ClickLabel final : public QLabel {
    Q_OBJECT

public:
    explicit ClickLabel(QWidget* parent = nullptr);

signals:
    void clicked();

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool pressed_ = false;
};

}  // namespace vornel
