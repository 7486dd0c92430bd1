#pragma once

#include <array>
#include <stdexcept>

#include "style/PartTable.h"

namespace vornel {

// One value per part number 0..18, read and written as table(p).
// A part number outside 0..18 is a programming error and throws
// std::out_of_range rather than touching a neighbour's memory.
template <typename T>
class PerPart {
public:
    T& operator()(int part) { return values_[checked(part)]; }
    const T& operator()(int part) const { return values_[checked(part)]; }

    void fill(const T& value) { values_.fill(value); }

private:
    static std::size_t checked(int part) {
        if (part < 0 || part >= kPartEntries) throw std::out_of_range("part number out of range");
        return static_cast<std::size_t>(part);
    }

    std::array<T, kPartEntries> values_{};
};

}  // namespace vornel
