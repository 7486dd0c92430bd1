#include <gtest/gtest.h>

#include "midi/output/synth/AudioDrivers.h"

namespace vornel {
namespace {

using Names = std::vector<std::string>;

const Names kLinuxBuild = {"alsa", "file", "jack", "oss", "pulseaudio", "sdl2"};

TEST(AudioDrivers, OnLinuxTriesPulseAudioThenJackThenAlsa) {
    EXPECT_EQ(AudioDrivers::choose(kLinuxBuild, "alsa", true),
              (Names{"pulseaudio", "jack", "alsa"}));
}

TEST(AudioDrivers, LeavesAlsaOutWhenTheMachineHasNoAlsaDevices) {
    EXPECT_EQ(AudioDrivers::choose(kLinuxBuild, "alsa", false), (Names{"pulseaudio", "jack"}));
}

TEST(AudioDrivers, OffersOnlyWhatTheBuildHasAndAppendsAUsableDefault) {
    EXPECT_EQ(AudioDrivers::choose({"wasapi", "dsound", "waveout"}, "wasapi", false),
              (Names{"wasapi"}));
    EXPECT_EQ(AudioDrivers::choose({"coreaudio", "jack"}, "coreaudio", false),
              (Names{"jack", "coreaudio"}));
    // A default that cannot run our callback, or is not in the build, is not tried.
    EXPECT_EQ(AudioDrivers::choose({"sdl2", "file"}, "sdl2", true), Names{});
    EXPECT_EQ(AudioDrivers::choose({"oss"}, "pipewire", true), Names{});
    EXPECT_EQ(AudioDrivers::choose({}, "", true), Names{});
}

}  // namespace
}  // namespace vornel
