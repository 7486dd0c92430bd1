// Vornel: the player window on the built-in synthesizer (device -1).

#include <QApplication>
#include <string>

#include "midi/file/Midifile.h"
#include "midi/output/MIDIOutput.h"
#include "midi/output/ports/SystemPortProvider.h"
#include "midi/output/synth/BuiltInSynth.h"
#include "platform/Clock.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtDispatcher.h"
#include "platform/qt/QtSettingsStore.h"
#include "platform/qt/QtTimer.h"
#include "player/Player.h"
#include "player/qt/PlayerWindow.h"
#include "settings/Language.h"
#include "style/StyleData.h"
#include "windows/DriveList.h"
#include "windows/FileChooser.h"
#include "windows/qt/FileChooserWindow.h"

using namespace vornel;

namespace {

std::string noSoundDeviceText(const Language& language) {
    return language.LangNo == kLangEnglish
               ? "No sound device could be opened. Vornel goes on without sound."
               : "Hiçbir ses aygıtı açılamadı. Vornel sessiz olarak devam ediyor.";
}

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vornel"));
    QApplication::setOrganizationName(QStringLiteral("Halvex"));

    // Declared before the output component, which posts to it from its
    // scheduling thread until it is destroyed.
    SteadyClock clock;
    QtDispatcher dispatcher;
    SystemPortProvider ports(BuiltInSynth::name(), [] { return BuiltInSynth::create(); });
    MIDIOutput output(ports, dispatcher, clock, MIDIOutput::Drive::Thread);
    Midifile reader;
    StyleData style;
    Language language;
    language.table.SetTheLangsQuery();
    language.LangNo = kLangTurkish;

    QtDialogs dialogs(dispatcher);
    QtTimer timer1(250, dispatcher);       // blink of a pending part button
    QtTimer timer2(55, dispatcher, true);  // fall of the level meters; runs from the start
    QtTimer timer3(250, dispatcher);       // blink of a pending chord label

    Player player(reader, output, style, language, dialogs, timer1, timer2, timer3);
    PlayerWindow window(player, dispatcher);
    dialogs.onFocusKeyboardSink = [&window] { window.focusKeyboardSink(); };
    dialogs.onRepaintNow = [&window] { window.repaintNow(); };

    // The file chooser, created hidden; it opens where the user left it last
    // time. Until the setup window exists it is labelled here, in the
    // player's language, before it is first shown.
    QtSettingsStore settings;
    FileChooser chooser(systemRoots(), dialogs);
    chooser.loadFile = [&player](const std::string& path) { player.LoadFile(path); };
    chooser.showPlayer = [&player] { player.Show(); };
    chooser.setPathLabel = [&player](const std::string& path) { player.state().Label7.caption = path; };
    chooser.relabel(language);
    chooser.Form_Load(settings);
    FileChooserWindow chooserWindow(chooser, dispatcher);
    player.windows.showFileChooser = [&chooser] { chooser.Show(); };

    {
        // Start-up is one handler: a timer tick or a component event that
        // arrives while the message box below is open waits until it is done.
        HandlerScope startUp(dispatcher);
        player.Form_Load();
        output.PortNumber(-1);
        output.PortCommand(MIDIOutput::OpenPort);
        if (!output.PortIsOpen())
            dialogs.messageBox(noSoundDeviceText(language), kAppTitle, MessageIcon::Exclamation);
        player.Show();
    }  // the window shows itself as the scope closes
    window.focusKeyboardSink();

    // The program may have been ended already (it never is at start-up today),
    // and an event loop started after that would never stop.
    if (dispatcher.ended()) return 0;
    return app.exec();
}
