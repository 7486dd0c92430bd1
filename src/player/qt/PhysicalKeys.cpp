#include "player/qt/PhysicalKeys.h"

#include <array>

namespace vornel {

namespace {

constexpr int kVkF1 = 112;
constexpr int kVkPageUp = 33;    // VK_PRIOR
constexpr int kVkPageDown = 34;  // VK_NEXT

struct Position {
    std::uint32_t scanCode;
    int virtualKey;
};

// Evdev key codes plus 8, as X and Wayland report them: letters by their US
// position, then F1..F12.
constexpr std::array<Position, 38> kXkb{{
    {24, 'Q'},        {25, 'W'},        {26, 'E'},       {27, 'R'},       {28, 'T'},       {29, 'Y'},
    {30, 'U'},        {31, 'I'},        {32, 'O'},       {33, 'P'},       {38, 'A'},       {39, 'S'},
    {40, 'D'},        {41, 'F'},        {42, 'G'},       {43, 'H'},       {44, 'J'},       {45, 'K'},
    {46, 'L'},        {52, 'Z'},        {53, 'X'},       {54, 'C'},       {55, 'V'},       {56, 'B'},
    {57, 'N'},        {58, 'M'},        {67, kVkF1},     {68, kVkF1 + 1}, {69, kVkF1 + 2}, {70, kVkF1 + 3},
    {71, kVkF1 + 4},  {72, kVkF1 + 5},  {73, kVkF1 + 6}, {74, kVkF1 + 7}, {75, kVkF1 + 8}, {76, kVkF1 + 9},
    {95, kVkF1 + 10}, {96, kVkF1 + 11},
}};

// Windows set-1 scan codes for the same positions.
constexpr std::array<Position, 38> kWindowsSet1{{
    {0x10, 'Q'},        {0x11, 'W'},        {0x12, 'E'},       {0x13, 'R'},       {0x14, 'T'},       {0x15, 'Y'},
    {0x16, 'U'},        {0x17, 'I'},        {0x18, 'O'},       {0x19, 'P'},       {0x1E, 'A'},       {0x1F, 'S'},
    {0x20, 'D'},        {0x21, 'F'},        {0x22, 'G'},       {0x23, 'H'},       {0x24, 'J'},       {0x25, 'K'},
    {0x26, 'L'},        {0x2C, 'Z'},        {0x2D, 'X'},       {0x2E, 'C'},       {0x2F, 'V'},       {0x30, 'B'},
    {0x31, 'N'},        {0x32, 'M'},        {0x3B, kVkF1},     {0x3C, kVkF1 + 1}, {0x3D, kVkF1 + 2}, {0x3E, kVkF1 + 3},
    {0x3F, kVkF1 + 4},  {0x40, kVkF1 + 5},  {0x41, kVkF1 + 6}, {0x42, kVkF1 + 7}, {0x43, kVkF1 + 8}, {0x44, kVkF1 + 9},
    {0x57, kVkF1 + 10}, {0x58, kVkF1 + 11},
}};

bool isLetter(int qtKey) {
    return qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z;
}

}  // namespace

PhysicalKeys::ScanCodes PhysicalKeys::scanCodesOf(const QString& platformName) {
    if (platformName == QLatin1String("xcb") || platformName.startsWith(QLatin1String("wayland")))
        return ScanCodes::Xkb;
    if (platformName == QLatin1String("windows")) return ScanCodes::WindowsSet1;
    return ScanCodes::Unknown;
}

int PhysicalKeys::fromScanCode(ScanCodes scanCodes, std::uint32_t nativeScanCode) {
    const auto lookUp = [nativeScanCode](const auto& table) {
        for (const Position& p : table)
            if (p.scanCode == nativeScanCode) return p.virtualKey;
        return 0;
    };
    switch (scanCodes) {
        case ScanCodes::Xkb:
            return lookUp(kXkb);
        case ScanCodes::WindowsSet1:
            return lookUp(kWindowsSet1);
        case ScanCodes::Unknown:
            break;
    }
    return 0;
}

int PhysicalKeys::fromQtKey(int qtKey) {
    if (isLetter(qtKey)) return qtKey;  // Qt::Key_A.. are 'A'..
    if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return qtKey;
    if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F12) return kVkF1 + (qtKey - Qt::Key_F1);
    if (qtKey == Qt::Key_PageUp) return kVkPageUp;
    if (qtKey == Qt::Key_PageDown) return kVkPageDown;
    return 0;
}

int PhysicalKeys::virtualKey(ScanCodes scanCodes, std::uint32_t nativeScanCode, int qtKey) {
    if (scanCodes == ScanCodes::Unknown || nativeScanCode == 0) return fromQtKey(qtKey);
    if (const int vk = fromScanCode(scanCodes, nativeScanCode)) return vk;
    // A position outside the letter rows never counts as a letter, although a
    // layout may print one there (Dvorak's S sits on the US semicolon); other
    // keys go by their meaning.
    return isLetter(qtKey) ? 0 : fromQtKey(qtKey);
}

int PhysicalKeys::shiftMask(Qt::KeyboardModifiers modifiers) {
    int mask = 0;
    if (modifiers & Qt::ShiftModifier) mask |= 1;
    if (modifiers & Qt::ControlModifier) mask |= 2;
    if (modifiers & Qt::AltModifier) mask |= 4;
    return mask;
}

}  // namespace vornel
