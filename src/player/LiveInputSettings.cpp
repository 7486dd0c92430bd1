#include "player/LiveInputSettings.h"

#include <charconv>
#include <optional>

#include "midi/input/MidiInputPort.h"
#include "platform/SettingsStore.h"

namespace vornel {

namespace {

constexpr const char* kSection = "Setup";
constexpr const char* kDeviceKey = "InDev";
constexpr const char* kDeviceNameKey = "InDevName";
constexpr const char* kSplitKey = "Split";
constexpr const char* kModeKey = "ChordMode";
constexpr const char* kVoiceKey = "Voice";
// 0 at once, 1 next beat, 2 next bar line: the order of ChordChangeMode.
constexpr const char* kChordChangeKey = "ChordChange";
constexpr int kLastChordChange = static_cast<int>(ChordChangeMode::NextBarLine);
constexpr const char* kMasterVolumeKey = "MasterVolume";
constexpr const char* kAutoFillKey = "AutoFill";  // 0 off, 1 on

std::optional<int> number(const std::string& text, int low, int high) {
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (text.empty() || ec != std::errc() || ptr != end || value < low || value > high) return std::nullopt;
    return value;
}

}  // namespace

LiveInputSettings LiveInputSettings::load(const SettingsStore& store) {
    LiveInputSettings s;
    s.device = number(store.read(kSection, kDeviceKey), -1, 32766).value_or(-1);
    s.deviceName = store.read(kSection, kDeviceNameKey);
    s.split = number(store.read(kSection, kSplitKey), 0, 127).value_or(kDefaultSplit);
    const std::optional<int> mode = number(store.read(kSection, kModeKey), 0, 1);
    if (mode) s.mode = *mode == 0 ? ChordMode::SingleFinger : ChordMode::Fingered;
    s.voice = number(store.read(kSection, kVoiceKey), 0, 127).value_or(0);
    const std::optional<int> change = number(store.read(kSection, kChordChangeKey), 0, kLastChordChange);
    if (change) s.chordChange = static_cast<ChordChangeMode>(*change);
    s.masterVolume = number(store.read(kSection, kMasterVolumeKey), 0, 127).value_or(midi::kDefaultMasterVolume);
    s.autoFill = number(store.read(kSection, kAutoFillKey), 0, 1).value_or(0) == 1;
    return s;
}

void LiveInputSettings::save(SettingsStore& store) const {
    store.write(kSection, kDeviceKey, std::to_string(device));
    store.write(kSection, kDeviceNameKey, device < 0 ? std::string() : deviceName);
    store.write(kSection, kSplitKey, std::to_string(split));
    store.write(kSection, kModeKey, mode == ChordMode::SingleFinger ? "0" : "1");
    store.write(kSection, kVoiceKey, std::to_string(voice));
    store.write(kSection, kChordChangeKey, std::to_string(static_cast<int>(chordChange)));
    store.write(kSection, kMasterVolumeKey, std::to_string(masterVolume));
    store.write(kSection, kAutoFillKey, autoFill ? "1" : "0");
}

int LiveInputSettings::findDevice(MidiInputProvider& inputs) const {
    if (device < 0) return -1;
    const int count = inputs.count();
    if (device < count && inputs.name(device) == deviceName) return device;
    for (int i = 0; i < count; ++i)
        if (inputs.name(i) == deviceName) return i;
    return -1;
}

}  // namespace vornel
