#include "installer/qt/InstallerMessageBox.h"

#include <QMessageBox>
#include <QString>
#include <cstdio>
#include <cstdlib>

#include "platform/qt/QtConversions.h"

namespace vornel {

namespace {

bool isSet(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr && *value != '\0';
}

}  // namespace

// Qt ends the process when it cannot reach a display, so the box is only
// tried where one is named; a session without one (a console, a script) still
// learns why the installer stopped.
bool InstallerMessageBox::displayAvailable() {
    return isSet("QT_QPA_PLATFORM") || isSet("DISPLAY") || isSet("WAYLAND_DISPLAY");
}

void InstallerMessageBox::show(const std::string& text, const std::string& title, MessageIcon icon) {
    // Written first in any case: a display that is named but cannot be
    // reached still ends the process inside Qt, and the reason must survive.
    std::fprintf(stderr, "%s: %s\n", title.c_str(), text.c_str());
    std::fflush(stderr);
    if (!displayAvailable()) return;
    if (!app_ && QApplication::instance() == nullptr) app_ = std::make_unique<QApplication>(argc_, argv_);
    QMessageBox box(qtIcon(icon), qtString(title), qtString(text), QMessageBox::Ok);
    box.exec();
}

}  // namespace vornel
