#pragma once

#include <QApplication>
#include <memory>
#include <string>

#include "platform/Dialogs.h"

namespace vornel {

// Quendel's message box. The QApplication it needs is made only when a box
// is shown, so a run that goes well needs no display at all.
class InstallerMessageBox {
public:
    // `argc` and `argv` are main's; both must outlive this object.
    InstallerMessageBox(int& argc, char** argv) : argc_(argc), argv_(argv) {}
    InstallerMessageBox(const InstallerMessageBox&) = delete;
    InstallerMessageBox& operator=(const InstallerMessageBox&) = delete;

    // A modal box with an OK button. Without any display to show it on, the
    // text goes to the standard error stream instead.
    void show(const std::string& text, const std::string& title, MessageIcon icon);

    // True when the environment names a display or a Qt platform to use.
    static bool displayAvailable();

private:
    int& argc_;
    char** argv_;
    std::unique_ptr<QApplication> app_;
};

}  // namespace vornel
