// Quendel, the installer: puts the two MIDI components in place, records
// where they are and starts Vornel from its own folder. It shows no window;
// only a failure brings up a message box.

#include "components/ComponentLocation.h"
#include "installer/Install.h"
#include "installer/SystemInstallerPlatform.h"
#include "installer/qt/InstallerMessageBox.h"
#include "platform/qt/QtSettingsStore.h"

using namespace vornel;

int main(int argc, char** argv) {
    QtSettingsStore settings;
    InstallerMessageBox box(argc, argv);
    SystemInstallerPlatform platform(settings, [&box](const std::string& text, const std::string& title,
                                                      MessageIcon icon) { box.show(text, title, icon); });
    // An executable that cannot locate itself gets an empty folder, and the
    // first copy fails like any missing file would.
    Install install(platform, executableFolder());
    install.Form_Load();
    return install.completed() ? 0 : 1;
}
