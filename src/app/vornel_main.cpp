// Vornel: the setup window first, then the player and its windows.

#include <QApplication>
#include <memory>
#include <string>

#include "app/ProgramWindows.h"
#include "components/ComponentLoading.h"
#include "components/ComponentLocation.h"
#include "midi/input/RtMidiInputPort.h"
#include "midi/output/LiveSink.h"
#include "platform/Clock.h"
#include "platform/qt/QtDialogs.h"
#include "platform/qt/QtDispatcher.h"
#include "platform/qt/QtSettingsStore.h"
#include "platform/qt/QtTimer.h"
#include "player/LiveInput.h"
#include "player/qt/LiveInputBar.h"
#include "player/qt/PlayerWindow.h"
#include "settings/qt/QtLanguage.h"
#include "settings/qt/SetupWindow.h"
#include "windows/DriveList.h"
#include "windows/qt/AboutWindow.h"
#include "windows/qt/FileChooserWindow.h"
#include "windows/qt/HelpWindow.h"
#include "windows/qt/KeyMapWindow.h"

using namespace vornel;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Vornel"));
    QApplication::setOrganizationName(QString::fromUtf8(kMakerName));

    // Declared before the components, which post to it from their own thread
    // until they are destroyed.
    QtDispatcher dispatcher;
    QtSettingsStore settings;
    QtLanguage qtLanguage;
    QtDialogs dialogs(dispatcher);
    const std::string programFolder = executableFolder();

    ComponentLoad load = loadComponents(settings, programFolder, dispatcher);
    if (!load.components) {
        // The one message that can come before the setup window, in the
        // language the user chose last time.
        const int stored = MIDISetupForm::storedLanguage(settings);
        const int lang = stored < 0 ? kLangTurkish : stored;
        qtLanguage.apply(lang);
        HandlerScope scope(dispatcher);
        dialogs.messageBox(missingComponentText(load.failedComponent, load.detail, lang), kAppTitle,
                           MessageIcon::Exclamation);
        return 1;
    }

    QtTimer timer1(250, dispatcher);       // blink of a pending part button
    QtTimer timer2(55, dispatcher, true);  // fall of the level meters; runs from the start
    QtTimer timer3(250, dispatcher);       // blink of a pending chord label

    ProgramWindows program({*load.components->reader, *load.components->output, dialogs, settings, timer1, timer2,
                            timer3, programFolder, systemRoots()});
    // Qt's own texts (standard buttons) follow every language change too.
    program.setup.relabellers.push_back([&qtLanguage](const TextTable&, int lang) { qtLanguage.apply(lang); });

    // A MIDI keyboard. The output module's proxy takes played notes from any
    // thread; declared after the components so that it stops sending first.
    SystemMidiInputs midiInputs;
    SteadyClock steadyClock;
    std::unique_ptr<LiveInput> live;
    if (auto* sink = dynamic_cast<LiveSink*>(load.components->output.get())) {
        live = std::make_unique<LiveInput>(*sink, dispatcher);
        program.player.attachLive(*live, settings, steadyClock);
        program.attachInputs(midiInputs);
    }
    // An unplugged keyboard is noticed within a second even when its driver
    // says nothing.
    QtTimer inputCheck(1000, dispatcher, true);
    inputCheck.onTick = [&live] {
        if (live) live->poll();
    };

    PlayerWindow playerWindow(program.player, dispatcher);
    if (live) {
        auto* liveBar = new LiveInputBar(program.player, dispatcher, &playerWindow);
        playerWindow.addToolBar(Qt::BottomToolBarArea, liveBar);
        liveBar->setStatusLine(playerWindow.statusBar());
    }
    dialogs.onFocusKeyboardSink = [&playerWindow] { playerWindow.focusKeyboardSink(); };
    dialogs.onRepaintNow = [&playerWindow] { playerWindow.repaintNow(); };
    FileChooserWindow chooserWindow(program.chooser, dispatcher);
    HelpWindow helpWindow(program.help, dispatcher);
    AboutWindow aboutWindow(program.about, dispatcher);
    KeyMapWindow keyMapWindow(program.keyMap, dispatcher);
    SetupWindow setupWindow(program.setup, dispatcher);

    // Start-up is one handler: every window is labelled before the first of
    // them appears as the scope closes. The setup window's OK opens the
    // output and the MIDI keyboard it preselected.
    dispatcher.runHandler([&program] { program.start(); });

    // Exit on the setup window may already have ended the program, and an
    // event loop started after that would never stop.
    if (dispatcher.ended()) return 0;
    return app.exec();
}
