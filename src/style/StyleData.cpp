#include "style/StyleData.h"

namespace vornel {

bool StyleData::storeEvent(int part, std::int16_t mes, std::int16_t d1, std::int16_t d2,
                           std::int32_t tick, std::string_view text, std::string_view sysEx) {
    if (part < 1 || part > kPartCount) return false;
    std::int32_t& count = PartEvCount(part);
    // A negative count would break the table's invariant; refuse rather than guess.
    if (count < 0 || count >= kPartCapacity) return false;
    const int slot = ++count;
    PartMes(part, slot) = mes;
    PartD1(part, slot) = d1;
    PartD2(part, slot) = d2;
    PartTick(part, slot) = tick;
    // assign() reuses the slot's existing capacity.
    PartText(part, slot).assign(text);
    PartSysEx(part, slot).assign(sysEx);
    return true;
}

}  // namespace vornel
