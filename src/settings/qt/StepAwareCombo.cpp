#include "settings/qt/StepAwareCombo.h"

namespace vornel {

namespace {

// Sets a flag for the length of one call, also when the call leaves early.
class FlagFor {
public:
    explicit FlagFor(bool& flag) : flag_(flag) { flag_ = true; }
    ~FlagFor() { flag_ = false; }
    FlagFor(const FlagFor&) = delete;
    FlagFor& operator=(const FlagFor&) = delete;

private:
    bool& flag_;
};

}  // namespace

void StepAwareCombo::keyPressEvent(QKeyEvent* event) {
    const FlagFor step(stepping_);
    QComboBox::keyPressEvent(event);
}

void StepAwareCombo::wheelEvent(QWheelEvent* event) {
    const FlagFor step(stepping_);
    QComboBox::wheelEvent(event);
}

}  // namespace vornel
