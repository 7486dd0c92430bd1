#include <gtest/gtest.h>
#include <pwd.h>
#include <unistd.h>

#include <QString>
#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "components/ComponentLocation.h"
#include "installer/ComponentFolder.h"
#include "installer/Install.h"
#include "installer/InstallerFiles.h"
#include "installer/SystemInstallerPlatform.h"
#include "platform/qt/QtSettingsStore.h"
#include "support/TempDir.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;
using test::eventually;
using test::namesIn;
using test::readFile;
using test::ScopedEnv;
using test::writeFile;
using test::writeScript;

TEST(ComponentFolderTest, DataHomeOrHomeDecidesTheFolder) {
    struct Case {
        const char* xdg;
        const char* home;
        std::optional<std::string> folder;
    };
    const std::vector<Case> cases = {
        {"/x/data", "/home/u", "/x/data/Halvex/components"},
        {"/x/data/", nullptr, "/x/data/Halvex/components"},
        {nullptr, "/home/u", "/home/u/.local/share/Halvex/components"},
        {"", "/home/u/", "/home/u/.local/share/Halvex/components"},
        // A relative data home is ignored, whatever the working folder.
        {"data", "/home/u", "/home/u/.local/share/Halvex/components"},
        {"data", "home", std::nullopt},
        {nullptr, "", std::nullopt},
        {nullptr, nullptr, std::nullopt},
    };
    for (const Case& c : cases)
        EXPECT_EQ(componentFolderFor(c.xdg, c.home), c.folder)
            << (c.xdg ? c.xdg : "(unset)") << " / " << (c.home ? c.home : "(unset)");
}

TEST(ComponentFolderTest, WithoutHomeTheUsersHomeFolderIsUsed) {
    if (getpwuid(getuid()) == nullptr) GTEST_SKIP() << "this user has no entry in the password database";
    ScopedEnv noHome("HOME", nullptr);
    ScopedEnv noData("XDG_DATA_HOME", nullptr);
    std::optional<std::string> folder = componentFolder();
    ASSERT_TRUE(folder.has_value());
    EXPECT_TRUE(fs::path(*folder).is_absolute());
    EXPECT_TRUE(folder->ends_with("/.local/share/Halvex/components")) << *folder;
}

struct ShownBox {
    std::string text;
    std::string title;
    MessageIcon icon;
};

class SystemInstallerPlatformTest : public ::testing::Test {
protected:
    SystemInstallerPlatformTest()
        : dataHome("XDG_DATA_HOME", dir.file("data").c_str()),
          store(QString::fromStdString(dir.file("Halvex.conf").string())),
          platform(store, [this](const std::string& text, const std::string& title, MessageIcon icon) {
              boxes.push_back({text, title, icon});
          }) {}

    fs::path componentDir() const { return dir.file("data") / "Halvex" / "components"; }

    test::TempDir dir;
    ScopedEnv dataHome;
    QtSettingsStore store;
    std::vector<ShownBox> boxes;
    SystemInstallerPlatform platform;
};

TEST_F(SystemInstallerPlatformTest, ComponentFolderIsCreatedWhenMissing) {
    ASSERT_FALSE(fs::exists(dir.file("data")));
    std::optional<std::string> folder = platform.vbSysDir();
    ASSERT_TRUE(folder.has_value());
    EXPECT_EQ(*folder, componentDir().string());
    EXPECT_TRUE(fs::is_directory(componentDir()));
    // Already there: the same answer, and what it holds stays.
    writeFile(componentDir() / "Midiio32.so", "old");
    EXPECT_EQ(platform.vbSysDir(), folder);
    EXPECT_EQ(readFile(componentDir() / "Midiio32.so"), "old");
}

TEST_F(SystemInstallerPlatformTest, ComponentFolderThatCannotBeMadeIsAFailure) {
    fs::create_directories(dir.file("data"));
    writeFile(dir.file("data") / "Halvex", "a file where the folder should be");
    EXPECT_EQ(platform.vbSysDir(), std::nullopt);
}

TEST_F(SystemInstallerPlatformTest, CopyReplacesTheTargetAndLeavesNothingElse) {
    fs::create_directories(componentDir());
    const fs::path source = dir.file("Midiio32.hcm");
    const fs::path target = componentDir() / "Midiio32.so";
    std::string bytes = std::string("\x7f" "ELF\0\x01\xff", 7) + std::string(70000, 'x');
    writeFile(source, bytes);

    ASSERT_TRUE(platform.copyFile(source, target));
    EXPECT_EQ(readFile(target), bytes);

    // A shorter new version replaces the whole of the longer old one.
    writeFile(source, "new");
    ASSERT_TRUE(platform.copyFile(source, target));
    EXPECT_EQ(readFile(target), "new");
    EXPECT_EQ(namesIn(componentDir()), std::set<std::string>{"Midiio32.so"});
}

TEST_F(SystemInstallerPlatformTest, CopyFailsWithoutHarmWhenItCannotBeDone) {
    fs::create_directories(componentDir());
    const fs::path target = componentDir() / "Midifl32.so";
    writeFile(target, "installed before");
    writeFile(dir.file("Midifl32.hcm"), "new");
    fs::create_directories(dir.file("folder.hcm"));
    fs::create_directories(componentDir() / "taken.so");

    EXPECT_FALSE(platform.copyFile(dir.file("missing.hcm"), target));
    EXPECT_FALSE(platform.copyFile(dir.file("folder.hcm"), target));
    EXPECT_FALSE(platform.copyFile(dir.file("Midifl32.hcm"), componentDir() / "taken.so"));
    EXPECT_FALSE(platform.copyFile(dir.file("Midifl32.hcm"), dir.file("no such folder") / "Midifl32.so"));
    EXPECT_FALSE(platform.copyFile("", target));
    EXPECT_FALSE(platform.copyFile(dir.file("Midifl32.hcm"), ""));

    EXPECT_EQ(readFile(target), "installed before");
    EXPECT_TRUE(fs::is_directory(componentDir() / "taken.so"));
    EXPECT_EQ(namesIn(componentDir()), (std::set<std::string>{"Midifl32.so", "taken.so"}));
}

TEST_F(SystemInstallerPlatformTest, RegistrationIsRecordedWhereVornelReadsIt) {
    const std::string path = (componentDir() / "Midiio32.so").string();
    const std::string moved = "/elsewhere/Midiio32.so";
    ASSERT_TRUE(platform.registerComponent("Midiio32", moved));
    ASSERT_TRUE(platform.registerComponent("Midiio32", path));
    ASSERT_TRUE(platform.registerComponent("Midifl32", "/c/Midifl32.so"));

    QtSettingsStore reread(QString::fromStdString(dir.file("Halvex.conf").string()));
    EXPECT_EQ(reread.read(kComponentsSection, "Midiio32"), path);
    EXPECT_EQ(reread.read(kComponentsSection, "Midifl32"), "/c/Midifl32.so");
}

TEST_F(SystemInstallerPlatformTest, RegistrationTheStoreRefusesIsAFailure) {
    EXPECT_FALSE(platform.registerComponent("", "/c/x.so"));
    EXPECT_FALSE(platform.registerComponent("Midi/io32", "/c/x.so"));
    EXPECT_FALSE(platform.registerComponent("Midiio32", ""));
    EXPECT_EQ(store.read(kComponentsSection, "Midiio32"), "");
}

TEST_F(SystemInstallerPlatformTest, OnlyAProgramThatCanRunIsStarted) {
    writeFile(dir.file("plain"), "#!/bin/sh\ntouch started\n");
    fs::create_directories(dir.file("folder"));
    EXPECT_FALSE(platform.startProgram(dir.file("missing").string()));
    EXPECT_FALSE(platform.startProgram(dir.file("plain").string()));  // not executable
    EXPECT_FALSE(platform.startProgram(dir.file("folder").string()));
    EXPECT_FALSE(platform.startProgram(""));
}

// The program runs on its own: in a session of its own, so that it outlives
// the terminal and the installer that started it.
TEST_F(SystemInstallerPlatformTest, StartedProgramRunsInItsOwnSession) {
    const fs::path marker = dir.file("session");
    writeScript(dir.file("program"), "set -- $(cat /proc/$$/stat)\necho $6 > '" + marker.string() +
                                         ".part' && mv '" + marker.string() + ".part' '" + marker.string() +
                                         "'\n");
    ASSERT_TRUE(platform.startProgram(dir.file("program").string()));
    ASSERT_TRUE(eventually([&] { return fs::exists(marker); }));
    const std::string session = readFile(marker);
    EXPECT_NE(std::stol(session), static_cast<long>(getsid(0))) << session;
}

// The installer's runs on the real file system, from a program folder that
// holds a stand-in for Vornel which notes each start.
class InstallOnSystemTest : public SystemInstallerPlatformTest {
protected:
    InstallOnSystemTest() {
        fs::create_directories(programDir());
        writeScript(programDir() / "vornel", "echo started >> '" + startLog().string() + "'\n");
    }
    fs::path programDir() const { return dir.file("Vornel"); }
    fs::path startLog() const { return dir.file("starts.log"); }
    fs::path installed(const std::string& name) const { return componentDir() / (name + installedExtension()); }
    int starts() const {
        std::string log = readFile(startLog());
        return static_cast<int>(std::count(log.begin(), log.end(), '\n'));
    }
};

TEST_F(InstallOnSystemTest, MissingFileReaderLeavesTheOutputComponentAndNothingElse) {
    writeFile(programDir() / "Midiio32.hcm", "output component");
    Install install(platform, programDir().string());
    install.Form_Load();

    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Bilinmeyen bir hata oluştu (Unknown error !)");
    EXPECT_EQ(boxes[0].title, "Vornel Install");
    EXPECT_EQ(boxes[0].icon, MessageIcon::None);
    EXPECT_FALSE(install.completed());
    EXPECT_EQ(readFile(installed("Midiio32")), "output component");
    EXPECT_EQ(namesIn(componentDir()), std::set<std::string>{"Midiio32" + installedExtension()});
    EXPECT_EQ(store.read(kComponentsSection, "Midiio32"), "");
    EXPECT_EQ(store.read(kComponentsSection, "Midifl32"), "");
    // Started programs are not waited for, but this one was never started.
    EXPECT_FALSE(fs::exists(startLog()));
}

TEST_F(InstallOnSystemTest, SecondRunOverwritesAndRegistersAgain) {
    writeFile(programDir() / "Midiio32.hcm", "output 1");
    writeFile(programDir() / "Midifl32.hcm", "reader 1");
    Install install(platform, programDir().string());
    install.Form_Load();
    ASSERT_TRUE(install.completed());
    ASSERT_TRUE(eventually([&] { return starts() == 1; }));

    writeFile(programDir() / "Midiio32.hcm", "output 2");
    writeFile(programDir() / "Midifl32.hcm", "reader 2");
    store.write(kComponentsSection, "Midifl32", "/stale/Midifl32.so");
    Install again(platform, programDir().string());
    again.Form_Load();
    ASSERT_TRUE(again.completed());
    EXPECT_TRUE(boxes.empty());
    EXPECT_EQ(readFile(installed("Midiio32")), "output 2");
    EXPECT_EQ(readFile(installed("Midifl32")), "reader 2");
    EXPECT_EQ(store.read(kComponentsSection, "Midiio32"), installed("Midiio32").string());
    EXPECT_EQ(store.read(kComponentsSection, "Midifl32"), installed("Midifl32").string());
    EXPECT_TRUE(eventually([&] { return starts() == 2; }));
}

}  // namespace
}  // namespace vornel
