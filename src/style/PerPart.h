#pragma once

#include <array>

#include "style/PartTable.h"

namespace vornel {

// One value per part number 0..18, read and written as table(p).
// A part number outside 0..18 (CurPart is -1 before any style is loaded)
// reaches a spare value that is reset to empty on every such access: it reads
// as 0 and a write to it is forgotten. Nothing outside the table is touched
// and nothing is thrown into the handler that made the mistake.
template <typename T>
class PerPart {
public:
    T& operator()(int part) { return inRange(part) ? values_[static_cast<std::size_t>(part)] : spare(); }
    const T& operator()(int part) const {
        return inRange(part) ? values_[static_cast<std::size_t>(part)] : spare();
    }

    void fill(const T& value) { values_.fill(value); }

private:
    static bool inRange(int part) { return part >= 0 && part < kPartEntries; }
    T& spare() const {
        spare_ = T{};
        return spare_;
    }

    std::array<T, kPartEntries> values_{};
    mutable T spare_{};
};

}  // namespace vornel
