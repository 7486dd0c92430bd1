#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>

#include "midi/output/synth/SoundFontLocator.h"
#include "support/TempDir.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

class SoundFontLocatorTest : public ::testing::Test {
protected:
    fs::path folder(const std::string& name) {
        const fs::path p = tmp.file(name);
        fs::create_directories(p);
        return p;
    }
    static void touch(const fs::path& p) { std::ofstream(p) << "sfbk"; }

    test::TempDir tmp;
};

TEST_F(SoundFontLocatorTest, PrefersMuseScoreGeneralThenTimGM6mbThenDefaultGMThenAnyInFolderOrder) {
    const fs::path a = folder("a"), b = folder("b");
    touch(a / "zeta.sf3");
    touch(b / "alpha.sf2");
    EXPECT_EQ(SoundFontLocator::find({a, b}), a / "zeta.sf3");  // first folder with any
    touch(b / "default-GM.sf2");
    EXPECT_EQ(SoundFontLocator::find({a, b}), b / "default-GM.sf2");
    touch(a / "TimGM6mb.sf2");
    EXPECT_EQ(SoundFontLocator::find({a, b}), a / "TimGM6mb.sf2");
    touch(b / "MuseScore_General_Lite.sf3");
    EXPECT_EQ(SoundFontLocator::find({a, b}), b / "MuseScore_General_Lite.sf3");
}

TEST_F(SoundFontLocatorTest, AnySoundFontIsTheAlphabeticallyFirstWithTheExtensionInAnyCase) {
    const fs::path a = folder("a");
    touch(a / "readme.txt");
    touch(a / "Strings.SF2");
    touch(a / "Orchestra.Sf3");
    touch(a / "piano.sf2");
    fs::create_directories(a / "Aardvark.sf2");                   // a folder, not a file
    EXPECT_EQ(SoundFontLocator::find({a}), a / "Orchestra.Sf3");  // capitals sort before "piano"
}

TEST_F(SoundFontLocatorTest, MissingFoldersAreSkippedAndNothingFoundIsEmpty) {
    const fs::path empty = folder("empty");
    EXPECT_TRUE(SoundFontLocator::find({}).empty());
    EXPECT_TRUE(SoundFontLocator::find({tmp.file("missing"), empty}).empty());
    touch(empty / "gm.sf2");
    EXPECT_EQ(SoundFontLocator::find({tmp.file("missing"), empty}), empty / "gm.sf2");
}

}  // namespace
}  // namespace vornel
