#pragma once

#include <string>

#include "installer/InstallerPlatform.h"

namespace vornel {

// Quendel's one window. It is never shown: loading it puts the two components
// in place, registers them and starts Vornel, and then the program ends.
class Install {
public:
    static constexpr const char* kFailureText = "Bilinmeyen bir hata oluştu (Unknown error !)";
    static constexpr const char* kFailureTitle = "Vornel Install";
    // The program started at the end, in Quendel's own folder.
    static constexpr const char* kProgramFile = "vornel";

    // `programFolder` is the folder Quendel was started from; an empty one
    // (not known) fails at the first copy.
    Install(InstallerPlatform& platform, std::string programFolder);
    Install(const Install&) = delete;
    Install& operator=(const Install&) = delete;

    // The component folder with a separator appended; empty until Form_Load
    // has found it.
    std::string SysDir;

    // Copies both components, registers both, starts Vornel. The first step
    // that fails ends the run with the failure message; nothing done before
    // it is undone.
    void Form_Load();

    // True once Form_Load has started Vornel.
    bool completed() const { return completed_; }

private:
    void copyComponent(const char* name);
    void registerComponent(const char* name);
    std::string installedPath(const char* name) const;
    std::string inProgramFolder(const std::string& file) const;

    InstallerPlatform& platform_;
    std::string programFolder_;
    bool completed_ = false;
};

}  // namespace vornel
