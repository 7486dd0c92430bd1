#include <gtest/gtest.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QString>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "components/ComponentLocation.h"
#include "installer/InstallerFiles.h"
#include "platform/qt/QtSettingsStore.h"
#include "support/TempDir.h"

extern char** environ;

namespace vornel {
namespace {

namespace fs = std::filesystem;
using test::eventually;
using test::readFile;
using test::writeScript;

// The built programs and modules, as the build lays them out side by side.
const fs::path kProgramDir = VORNEL_PROGRAM_DIR;

// Runs `program` with exactly `env` and waits for it to end; -1 when it did
// not end within the (generous) limit and had to be killed, -2 when it could
// not be started or ended by a signal.
int runAndWait(const fs::path& program, const std::vector<std::string>& env) {
    std::vector<char*> envp;
    std::vector<std::string> owned = env;
    for (std::string& e : owned) envp.push_back(e.data());
    envp.push_back(nullptr);
    std::string arg0 = program.string();
    char* argv[] = {arg0.data(), nullptr};
    pid_t pid = 0;
    if (posix_spawn(&pid, program.c_str(), nullptr, nullptr, argv, envp.data()) != 0) return -2;
    int status = 0;
    bool ended = eventually([&] { return waitpid(pid, &status, WNOHANG) == pid; }, std::chrono::seconds(60));
    if (!ended) {
        kill(pid, SIGKILL);
        waitpid(pid, &status, 0);
        return -1;
    }
    return WIFEXITED(status) ? WEXITSTATUS(status) : -2;
}

// Quendel as a user runs it: from a distribution folder, in a home of its own,
// with no display.
TEST(QuendelProcessTest, InstallsRecordsAndStartsVornelFromItsFolder) {
    test::TempDir root;
    const fs::path distDir = root.file("Vornel");
    const fs::path home = root.file("home");
    const fs::path dataHome = root.file("data");
    const fs::path configHome = root.file("config");
    const fs::path marker = root.file("vornel started");
    fs::create_directories(distDir);
    fs::create_directories(home);

    for (const char* file : {"quendel", "Midifl32.hcm", "Midiio32.hcm"}) {
        ASSERT_TRUE(fs::exists(kProgramDir / file)) << (kProgramDir / file);
        fs::copy_file(kProgramDir / file, distDir / file);
    }
    // A stand-in for Vornel that notes the folder it was started as.
    writeScript(distDir / "vornel", "echo \"$0\" > '" + marker.string() + ".part' && mv '" + marker.string() +
                                        ".part' '" + marker.string() + "'\n");

    const char* path = std::getenv("PATH");
    const int status = runAndWait(distDir / "quendel", {
                                                           "HOME=" + home.string(),
                                                           "XDG_DATA_HOME=" + dataHome.string(),
                                                           "XDG_CONFIG_HOME=" + configHome.string(),
                                                           "QT_QPA_PLATFORM=offscreen",
                                                           std::string("PATH=") + (path ? path : "/usr/bin:/bin"),
                                                       });
    ASSERT_EQ(status, 0);
    ASSERT_TRUE(eventually([&] { return fs::exists(marker); }));
    EXPECT_EQ(readFile(marker), (distDir / "vornel").string() + "\n");

    const fs::path componentDir = dataHome / "Halvex" / "components";
    QtSettingsStore settings(QString::fromStdString((configHome / "Halvex" / "Halvex.conf").string()));
    for (const char* name : {kMidiOutputComponent, kMidiFileComponent}) {
        SCOPED_TRACE(name);
        const fs::path installed = componentDir / (std::string(name) + installedExtension());
        ASSERT_TRUE(fs::is_regular_file(installed));
        EXPECT_EQ(readFile(installed), readFile(distDir / (std::string(name) + kDistributedExtension)));
        EXPECT_EQ(settings.read(kComponentsSection, name), installed.string());
        // Vornel, in the same folder, finds the installed copy rather than
        // the one beside it.
        EXPECT_EQ(findComponent(name, settings, distDir.string()), installed.string());
    }
}

}  // namespace
}  // namespace vornel
