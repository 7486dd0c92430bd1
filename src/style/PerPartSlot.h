#pragma once

#include <stdexcept>
#include <vector>

#include "style/PartTable.h"

namespace vornel {

// One value per part number 0..18 and slot 0..10000, read and written as
// table(p, slot). The whole 19 x 10001 block is allocated once, when the
// table is made, and never grows or shrinks afterwards: loading overwrites
// slots in place and playback reads them by index. It lives on the heap
// because the string tables alone are several megabytes.
// Indexes outside the block are a programming error and throw
// std::out_of_range rather than touching memory outside it.
template <typename T>
class PerPartSlot {
public:
    PerPartSlot() : values_(static_cast<std::size_t>(kPartEntries) * kPartSlots) {}

    // Fixed in place: whoever reads the tables may keep a reference to them.
    PerPartSlot(const PerPartSlot&) = delete;
    PerPartSlot& operator=(const PerPartSlot&) = delete;

    T& operator()(int part, int slot) { return values_[checked(part, slot)]; }
    const T& operator()(int part, int slot) const { return values_[checked(part, slot)]; }

private:
    static std::size_t checked(int part, int slot) {
        if (part < 0 || part >= kPartEntries || slot < 0 || slot >= kPartSlots)
            throw std::out_of_range("part table index out of range");
        return static_cast<std::size_t>(part) * kPartSlots + static_cast<std::size_t>(slot);
    }

    std::vector<T> values_;
};

}  // namespace vornel
