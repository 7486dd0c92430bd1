#include "app/ProgramWindows.h"

namespace vornel {

ProgramWindows::ProgramWindows(const ProgramParts& parts)
    : player(parts.reader, parts.output, style, language, parts.dialogs, parts.timer1, parts.timer2, parts.timer3),
      chooser(parts.roots, parts.dialogs),
      help(language, parts.dialogs, parts.programFolder, parts.helpReader),
      about(parts.dialogs),
      setup(language, parts.settings, parts.output, parts.dialogs),
      settings_(parts.settings) {
    // The player window exists from the start but stays hidden until the
    // setup window's OK shows it.
    player.Hide();

    player.windows.showFileChooser = [this] { chooser.Show(); };
    player.windows.showSettings = [this] { setup.Show(); };
    player.windows.showKeyMap = [this] { keyMap.Show(); };
    player.windows.showAbout = [this] { about.Show(); };
    // The help window takes its title from the Help command as it reads now.
    player.windows.showHelp = [this] { help.showFromPlayer(player.state().Cmd_Help.caption); };

    chooser.loadFile = [this](const std::string& path) { player.LoadFile(path); };
    chooser.showPlayer = [this] { player.Show(); };
    chooser.setPathLabel = [this](const std::string& path) { player.state().Label7.caption = path; };

    help.showPlayer = [this] { player.Show(); };
    help.hidePlayer = [this] { player.Hide(); };
    about.showPlayer = [this] { player.Show(); };
    keyMap.showPlayer = [this] { player.Show(); };

    setup.relabellers = {
        [this](const TextTable& table, int lang) { player.relabel(table, lang); },
        [this](const TextTable& table, int lang) { chooser.relabel(table, lang); },
        [this](const TextTable& table, int lang) { about.relabel(table, lang); },
        [this](const TextTable& table, int lang) { keyMap.relabel(table, lang); },
    };
    setup.prepareHelp = [this] { help.prepareDocument(); };
    setup.showPlayer = [this] { player.Show(); };
    setup.deviceApplied = [this](int position, const std::string& name, bool open) {
        DeviceReport report;
        report.state = open ? DeviceReport::State::Open : DeviceReport::State::Failed;
        report.builtIn = position == 0;
        report.name = name;
        player.deviceApplied(report);
    };
}

void ProgramWindows::attachInputs(MidiInputProvider& inputs) {
    setup.inputs = &inputs;
    setup.storedInput = [this, &inputs] { return player.liveSettings().findDevice(inputs); };
    setup.inputApplied = [this, &inputs](int device) { return player.openLiveInput(inputs, device); };
}

void ProgramWindows::start() {
    player.Form_Load();
    chooser.Form_Load(settings_);
    setup.Form_Load();
    setup.Show();
}

}  // namespace vornel
