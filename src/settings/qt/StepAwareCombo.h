#pragma once

#include <QComboBox>

namespace vornel {

// A drop-down list that tells a choice made in its open list from stepping
// through its entries while it is closed (arrow keys, typing, the wheel):
// both raise `activated`, and stepping() is true only while a step does.
class StepAwareCombo final : public QComboBox {
public:
    using QComboBox::QComboBox;

    bool stepping() const { return stepping_; }

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;

private:
    bool stepping_ = false;
};

}  // namespace vornel
