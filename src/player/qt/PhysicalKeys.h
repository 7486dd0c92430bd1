#pragma once

#include <QString>
#include <Qt>
#include <cstdint>

namespace vornel {

// Turns a key press into the Windows virtual-key code of the key at that
// PHYSICAL position on a US keyboard, which is what the keyboard handler
// understands: the chord keys must sit where A W S E D F T G Y H U J are,
// whatever letters the user's layout prints on them.
//
// Where the platform's scan codes are known (X keycodes on X11 and Wayland,
// set-1 scan codes on Windows) the position decides; elsewhere, and for a scan
// code of 0, the key's meaning (Qt::Key) stands in for its position.
class PhysicalKeys {
public:
    enum class ScanCodes { Unknown, Xkb, WindowsSet1 };

    // The scan codes of the running platform (QGuiApplication::platformName()).
    static ScanCodes scanCodesOf(const QString& platformName);

    // The virtual-key code ('A'..'Z' 65..90, '0'..'9' 48..57, F1..F12
    // 112..123), or 0 for a key the player has no use for.
    static int virtualKey(ScanCodes scanCodes, std::uint32_t nativeScanCode, int qtKey);

    // 1 Shift, 2 Ctrl, 4 Alt.
    static int shiftMask(Qt::KeyboardModifiers modifiers);

private:
    static int fromScanCode(ScanCodes scanCodes, std::uint32_t nativeScanCode);
    static int fromQtKey(int qtKey);
};

}  // namespace vornel
