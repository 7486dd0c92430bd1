#include "installer/Install.h"

#include <filesystem>
#include <optional>
#include <utility>

#include "components/ComponentLocation.h"

namespace vornel {

namespace {

// Raised by a step whose operation reported failure, so that a refused
// operation and one that threw end in the same single handler.
struct StepFailed {};

void require(bool ok) {
    if (!ok) throw StepFailed{};
}

}  // namespace

Install::Install(InstallerPlatform& platform, std::string programFolder)
    : platform_(platform), programFolder_(std::move(programFolder)) {}

void Install::Form_Load() {
    completed_ = false;
    SysDir.clear();
    try {
        std::optional<std::string> sysDir = platform_.vbSysDir();
        require(sysDir.has_value() && !sysDir->empty());
        SysDir = *sysDir + '/';
        copyComponent(kMidiOutputComponent);
        copyComponent(kMidiFileComponent);
        registerComponent(kMidiOutputComponent);
        registerComponent(kMidiFileComponent);
        require(platform_.startProgram(inProgramFolder(kProgramFile)));
        completed_ = true;
        return;
    } catch (...) {
        // Every failure lands here, whatever it was; the box is shown outside
        // the handler so that nothing it does can be taken for another failure.
    }
    platform_.messageBox(kFailureText, kFailureTitle, MessageIcon::None);
}

void Install::copyComponent(const char* name) {
    require(platform_.copyFile(inProgramFolder(std::string(name) + kDistributedExtension), installedPath(name)));
}

// An unknown program folder must not turn into the working folder, where a
// file of the same name may lie by chance.
std::string Install::inProgramFolder(const std::string& file) const {
    require(!programFolder_.empty());
    return (std::filesystem::path(programFolder_) / file).string();
}

// The full installed path is recorded, not just the file name: Vornel looks
// the component up by name and must not depend on a search path.
void Install::registerComponent(const char* name) {
    require(platform_.registerComponent(name, installedPath(name)));
}

std::string Install::installedPath(const char* name) const {
    return SysDir + name + installedExtension();
}

}  // namespace vornel
