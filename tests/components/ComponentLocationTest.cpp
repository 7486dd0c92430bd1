#include "components/ComponentLocation.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "platform/SettingsStore.h"
#include "support/TempDir.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;

void touch(const fs::path& path) { std::ofstream(path) << "module"; }

TEST(FindComponentTest, TheRecordedFileWinsThenTheOneBesideTheProgramThenNothing) {
    test::TempDir installed, program;
    MemorySettingsStore settings;
    const std::string recorded = installed.file(std::string("Midifl32") + installedExtension()).string();
    const fs::path beside = program.file("Midifl32.hcm");
    auto find = [&] { return findComponent(kMidiFileComponent, settings, program.path().string()); };

    EXPECT_EQ(find(), "");
    settings.write(kComponentsSection, kMidiFileComponent, recorded);
    EXPECT_EQ(find(), "");  // recorded, but no file there
    touch(beside);
    EXPECT_EQ(fs::path(find()), beside);  // a stale record falls back
    touch(recorded);
    EXPECT_EQ(find(), recorded);
    // A record naming a folder is no better than one naming nothing.
    settings.write(kComponentsSection, kMidiFileComponent, installed.path().string());
    EXPECT_EQ(fs::path(find()), beside);
    // Each component is looked up under its own name only.
    EXPECT_EQ(findComponent(kMidiOutputComponent, settings, program.path().string()), "");
    // A folder named like the module is no module.
    fs::remove(beside);
    fs::create_directory(beside);
    EXPECT_EQ(find(), "");
}

TEST(FindComponentTest, AnUnknownProgramFolderIsNotTheWorkingFolder) {
    test::TempDir working;
    touch(working.file("Midifl32.hcm"));
    MemorySettingsStore settings;
    const fs::path before = fs::current_path();
    fs::current_path(working.path());
    const std::string found = findComponent(kMidiFileComponent, settings, "");
    fs::current_path(before);
    EXPECT_EQ(found, "");
}

TEST(ExecutableFolderTest, IsTheRunningProgramsFolderWithoutATrailingSeparator) {
    const std::string folder = executableFolder();
    ASSERT_FALSE(folder.empty());
    EXPECT_NE(folder.back(), '/');
    EXPECT_TRUE(fs::equivalent(folder, VORNEL_TEST_BINARY_DIR));
#if defined(__linux__)
    EXPECT_EQ(installedExtension(), ".so");
#endif
}

}  // namespace
}  // namespace vornel
