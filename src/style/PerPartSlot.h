#pragma once

#include <vector>

#include "style/PartTable.h"

namespace vornel {

// One value per part number 0..18 and slot 0..10000, read and written as
// table(p, slot). The whole 19 x 10001 block is allocated once, when the
// table is made, and never grows or shrinks afterwards: loading overwrites
// slots in place and playback reads them by index. It lives on the heap
// because the string tables alone are several megabytes.
// An index outside the block reaches a spare value that is reset to empty on
// every such access (see PerPart): it reads as 0 or "", a write is forgotten.
template <typename T>
class PerPartSlot {
public:
    PerPartSlot() : values_(static_cast<std::size_t>(kPartEntries) * kPartSlots) {}

    // Fixed in place: whoever reads the tables may keep a reference to them.
    PerPartSlot(const PerPartSlot&) = delete;
    PerPartSlot& operator=(const PerPartSlot&) = delete;

    T& operator()(int part, int slot) { return inRange(part, slot) ? values_[index(part, slot)] : spare(); }
    const T& operator()(int part, int slot) const {
        return inRange(part, slot) ? values_[index(part, slot)] : spare();
    }

private:
    static bool inRange(int part, int slot) {
        return part >= 0 && part < kPartEntries && slot >= 0 && slot < kPartSlots;
    }
    static std::size_t index(int part, int slot) {
        return static_cast<std::size_t>(part) * kPartSlots + static_cast<std::size_t>(slot);
    }
    T& spare() const {
        spare_ = T{};
        return spare_;
    }

    std::vector<T> values_;
    mutable T spare_{};
};

}  // namespace vornel
