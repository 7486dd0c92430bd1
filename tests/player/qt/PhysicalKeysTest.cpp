#include <gtest/gtest.h>

#include "player/qt/PhysicalKeys.h"

namespace vornel {
namespace {

using Scan = PhysicalKeys::ScanCodes;

TEST(PhysicalKeysTest, PlatformsNameTheirScanCodes) {
    EXPECT_EQ(PhysicalKeys::scanCodesOf("xcb"), Scan::Xkb);
    EXPECT_EQ(PhysicalKeys::scanCodesOf("wayland"), Scan::Xkb);
    EXPECT_EQ(PhysicalKeys::scanCodesOf("wayland-egl"), Scan::Xkb);
    EXPECT_EQ(PhysicalKeys::scanCodesOf("windows"), Scan::WindowsSet1);
    EXPECT_EQ(PhysicalKeys::scanCodesOf("offscreen"), Scan::Unknown);
    EXPECT_EQ(PhysicalKeys::scanCodesOf("cocoa"), Scan::Unknown);
}

// The chord and function keys by their X keycodes, whatever the key means.
TEST(PhysicalKeysTest, XKeycodesGiveThePositionsOfTheChordAndChannelKeys) {
    const std::pair<std::uint32_t, int> keys[] = {{38, 65}, {25, 87}, {39, 83}, {26, 69},
                                                  {40, 68}, {41, 70}, {28, 84}, {42, 71},
                                                  {29, 89}, {43, 72}, {30, 85}, {44, 74}};
    for (const auto& [scan, vk] : keys)
        EXPECT_EQ(PhysicalKeys::virtualKey(Scan::Xkb, scan, 0), vk) << scan;
    for (std::uint32_t f = 0; f < 9; ++f)
        EXPECT_EQ(PhysicalKeys::virtualKey(Scan::Xkb, 67 + f, Qt::Key_unknown),
                  112 + static_cast<int>(f));
}

TEST(PhysicalKeysTest, OtherLayoutsKeepTheChordKeysWhereTheyAre) {
    // German QWERTZ: the key right of T prints Z and stays Ab; the key left of
    // X prints Y and is no chord key.
    EXPECT_EQ(PhysicalKeys::virtualKey(Scan::Xkb, 29, Qt::Key_Z), 'Y');
    EXPECT_EQ(PhysicalKeys::virtualKey(Scan::Xkb, 52, Qt::Key_Y), 'Z');
    // French AZERTY: the home-row key that prints Q is still C; the key that
    // prints A (upper row) is not.
    EXPECT_EQ(PhysicalKeys::virtualKey(Scan::Xkb, 38, Qt::Key_Q), 'A');
    EXPECT_EQ(PhysicalKeys::virtualKey(Scan::Xkb, 24, Qt::Key_A), 'Q');
    EXPECT_EQ(PhysicalKeys::virtualKey(Scan::Xkb, 25, Qt::Key_Z), 'W');
    // Dvorak prints S on the US semicolon key: a letter off the letter rows
    // is none of the chord keys.
    EXPECT_EQ(PhysicalKeys::virtualKey(Scan::Xkb, 47, Qt::Key_S), 0);
}

TEST(PhysicalKeysTest, WindowsScanCodesGiveTheSamePositions) {
    EXPECT_EQ(PhysicalKeys::virtualKey(Scan::WindowsSet1, 0x23, Qt::Key_H), 'H');
    EXPECT_EQ(PhysicalKeys::virtualKey(Scan::WindowsSet1, 0x15, Qt::Key_Z), 'Y');  // QWERTZ again
    EXPECT_EQ(PhysicalKeys::virtualKey(Scan::WindowsSet1, 0x1E, Qt::Key_Q), 'A');  // AZERTY
    EXPECT_EQ(PhysicalKeys::virtualKey(Scan::WindowsSet1, 0x3B, Qt::Key_F1), 112);
    EXPECT_EQ(PhysicalKeys::virtualKey(Scan::WindowsSet1, 0x43, Qt::Key_F9), 120);
}

TEST(PhysicalKeysTest, WithoutAScanCodeTheKeysMeaningStandsIn) {
    for (Scan scan : {Scan::Unknown, Scan::Xkb, Scan::WindowsSet1}) {
        EXPECT_EQ(PhysicalKeys::virtualKey(scan, 0, Qt::Key_H), 72);
        EXPECT_EQ(PhysicalKeys::virtualKey(scan, 0, Qt::Key_J), 74);
        EXPECT_EQ(PhysicalKeys::virtualKey(scan, 0, Qt::Key_F1), 112);
        EXPECT_EQ(PhysicalKeys::virtualKey(scan, 0, Qt::Key_F9), 120);
        EXPECT_EQ(PhysicalKeys::virtualKey(scan, 0, Qt::Key_5), '5');
        EXPECT_EQ(PhysicalKeys::virtualKey(scan, 0, Qt::Key_Escape), 0);
        EXPECT_EQ(PhysicalKeys::virtualKey(scan, 0, Qt::Key_Shift), 0);
    }
    // A platform whose scan codes are not known is never read by them.
    EXPECT_EQ(PhysicalKeys::virtualKey(Scan::Unknown, 38, Qt::Key_Q), 'Q');
}

TEST(PhysicalKeysTest, KeysOutsideTheTablesGoByTheirMeaningUnlessTheyPrintALetter) {
    EXPECT_EQ(PhysicalKeys::virtualKey(Scan::Xkb, 250, Qt::Key_F5), 116);
    EXPECT_EQ(PhysicalKeys::virtualKey(Scan::Xkb, 10, Qt::Key_1), '1');
    EXPECT_EQ(PhysicalKeys::virtualKey(Scan::Xkb, 9, Qt::Key_Escape), 0);
}

TEST(PhysicalKeysTest, ShiftMaskCountsShiftControlAndAlt) {
    EXPECT_EQ(PhysicalKeys::shiftMask(Qt::NoModifier), 0);
    EXPECT_EQ(PhysicalKeys::shiftMask(Qt::ShiftModifier), 1);
    EXPECT_EQ(PhysicalKeys::shiftMask(Qt::ControlModifier), 2);
    EXPECT_EQ(PhysicalKeys::shiftMask(Qt::AltModifier), 4);
    EXPECT_EQ(PhysicalKeys::shiftMask(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier),
              7);
    // The keypad and the Meta key are not part of the mask.
    EXPECT_EQ(PhysicalKeys::shiftMask(Qt::ShiftModifier | Qt::KeypadModifier | Qt::MetaModifier),
              1);
}

}  // namespace
}  // namespace vornel
