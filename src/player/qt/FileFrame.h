#pragma once

#include <QGroupBox>
#include <QLabel>
#include <array>

#include "player/PlayerState.h"

namespace vornel {

// Frm_File: six caption labels, each with its value label, and Label7, the
// narrow label the file chooser writes the clicked file's path into.
class FileFrame final : public QGroupBox {
    Q_OBJECT

public:
    static constexpr int kWidth = 528;
    static constexpr int kHeight = 102;

    explicit FileFrame(QWidget* parent = nullptr);

    void sync(const PlayerState& state);
    // Pair 0..5: name, copyright, time signature, tempo, size, data count.
    QLabel& caption(int pair) { return *captions_[static_cast<std::size_t>(pair)]; }
    QLabel& value(int pair) { return *values_[static_cast<std::size_t>(pair)]; }
    QLabel& label7() { return *label7_; }

private:
    std::array<QLabel*, 6> captions_{};
    std::array<QLabel*, 6> values_{};
    QLabel* label7_;
};

}  // namespace vornel
