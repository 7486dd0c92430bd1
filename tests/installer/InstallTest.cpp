#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "components/ComponentLocation.h"
#include "installer/Install.h"
#include "installer/FakeInstallerPlatform.h"

namespace vornel {
namespace {

using Call = test::FakeInstallerPlatform::Call;

const std::string kProgramFolder = "/opt/Vornel";
const std::string kFolder = "/home/u/.local/share/Halvex/components";

std::vector<Call> allSteps() {
    const std::string ext = installedExtension();
    return {
        {"vbSysDir", "", ""},
        {"copy", kProgramFolder + "/Midiio32.hcm", kFolder + "/Midiio32" + ext},
        {"copy", kProgramFolder + "/Midifl32.hcm", kFolder + "/Midifl32" + ext},
        {"register", "Midiio32", kFolder + "/Midiio32" + ext},
        {"register", "Midifl32", kFolder + "/Midifl32" + ext},
        {"start", kProgramFolder + "/vornel", ""},
    };
}

TEST(InstallTest, CopiesRegistersAndStartsInOrderWithoutAMessage) {
    test::FakeInstallerPlatform platform;
    Install install(platform, kProgramFolder);
    install.Form_Load();

    EXPECT_EQ(platform.calls, allSteps());
    EXPECT_TRUE(platform.boxes.empty());
    EXPECT_TRUE(install.completed());
    EXPECT_EQ(install.SysDir, kFolder + "/");
}

// The folder Quendel was started from may be the root folder or be given with
// a trailing separator; the component files are still looked for inside it.
TEST(InstallTest, ProgramFolderIsJoinedWithOneSeparator) {
    for (const auto& [folder, source, program] :
         std::vector<std::tuple<std::string, std::string, std::string>>{
             {"/", "/Midiio32.hcm", "/vornel"},
             {"/opt/Vornel/", "/opt/Vornel/Midiio32.hcm", "/opt/Vornel/vornel"}}) {
        test::FakeInstallerPlatform platform;
        Install install(platform, folder);
        install.Form_Load();
        ASSERT_EQ(platform.calls.size(), 6u) << folder;
        EXPECT_EQ(platform.calls[1].first, source) << folder;
        EXPECT_EQ(platform.calls[5].first, program) << folder;
    }
    // Not known: nothing is looked for in the working folder instead.
    test::FakeInstallerPlatform platform;
    Install install(platform, "");
    install.Form_Load();
    EXPECT_EQ(platform.calls, (std::vector<Call>{{"vbSysDir", "", ""}}));
    EXPECT_EQ(platform.boxes.size(), 1u);
}

// A failure at any step, by a refusal or by an exception, shows the one
// message and runs none of the steps after it.
TEST(InstallTest, AFailingStepShowsTheMessageAndSkipsTheRest) {
    const std::vector<Call> steps = allSteps();
    for (bool throwInstead : {false, true}) {
        for (int step = 0; step < static_cast<int>(steps.size()); ++step) {
            SCOPED_TRACE("step " + std::to_string(step) + (throwInstead ? " throws" : " refuses"));
            test::FakeInstallerPlatform platform;
            platform.failAt = step;
            platform.throwInstead = throwInstead;
            Install install(platform, kProgramFolder);
            install.Form_Load();

            EXPECT_EQ(platform.calls, std::vector<Call>(steps.begin(), steps.begin() + step + 1));
            ASSERT_EQ(platform.boxes.size(), 1u);
            EXPECT_EQ(platform.boxes[0].text, "Bilinmeyen bir hata oluştu (Unknown error !)");
            EXPECT_EQ(platform.boxes[0].title, "Vornel Install");
            EXPECT_EQ(platform.boxes[0].icon, MessageIcon::None);
            EXPECT_FALSE(install.completed());
        }
    }
}

TEST(InstallTest, AnEmptyComponentFolderIsAFailure) {
    test::FakeInstallerPlatform platform;
    platform.folder = "";
    Install install(platform, kProgramFolder);
    install.Form_Load();
    EXPECT_EQ(platform.calls, (std::vector<Call>{{"vbSysDir", "", ""}}));
    EXPECT_EQ(platform.boxes.size(), 1u);
    EXPECT_TRUE(install.SysDir.empty());
}

}  // namespace
}  // namespace vornel
