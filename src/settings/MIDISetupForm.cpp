#include "settings/MIDISetupForm.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "midi/input/MidiInputPort.h"
#include "midi/output/MIDIOutputComponent.h"
#include "settings/EndQuestion.h"
#include "settings/MidiOutOpening.h"
#include "settings/StatusTexts.h"

namespace vornel {

namespace {

// List positions are 16-bit values, and the device list holds one entry more
// than the component reports devices.
constexpr int kMaxDeviceCount = 32766;

// A stored list position: plain decimal digits naming an entry of a list of
// `size` entries; -1 for anything else (empty, a sign, spaces, letters, past
// the end).
int storedPosition(const std::string& text, std::size_t size) {
    if (text.empty() || text.front() < '0' || text.front() > '9') return -1;
    int value = -1;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < 0 || static_cast<std::size_t>(value) >= size)
        return -1;
    return value;
}

bool holds(const ComboList& list, int position) {
    return position >= 0 && static_cast<std::size_t>(position) < list.entries.size();
}

Control captioned(const char* caption) {
    Control c;
    c.caption = caption;
    return c;
}

}  // namespace

MIDISetupForm::MIDISetupForm(Language& language, SettingsStore& settings,
                             MIDIOutputComponent& output, Dialogs& dialogs)
    : language_(language), settings_(settings), output_(output), dialogs_(dialogs) {
    window = captioned("Aygıt ve Dil Seçimi");
    window.visible = false;
    Label1 = captioned("Dil");
    Label2 = captioned("MIDI Aygıtı");
    Label3 = captioned("MIDI Giriş Aygıtı");
    CmdOk = captioned("Tamam");
    CmdCancel = captioned("Çıkış");
    Combo1.entries = {"Türkçe (Turkish)", "English"};
}

// The message boxes' application title is the fixed kAppTitle, so loading
// has no title to set; centring belongs to the window on screen (`loads`).
void MIDISetupForm::Form_Load() {
    ++loads;
    buildDeviceList();
    buildInputList();

    const int lang = storedLanguage(settings_);
    const std::string storedDev = settings_.read(kSection, kDevKey);

    // Nothing stored: the first-use language, which the selection then stores.
    // A fresh load has no selection yet, so the selection below is a change.
    Combo1.ListIndex = -1;
    Combo1_Click(lang < 0 ? kLangTurkish : lang);

    // Likewise a stored device that is not a position of the list (a device
    // unplugged since) counts as never stored.
    const int deviceCount = static_cast<int>(ComboMidiOut.entries.size()) - 1;
    const int device = storedPosition(storedDev, ComboMidiOut.entries.size());
    if (device >= 0)
        ComboMidiOut_Click(device);
    else if (deviceCount > 0)
        ComboMidiOut_Click(0);

    // The input the player kept, found by its name if it moved; one that is
    // gone leaves "none".
    const int input = storedInput ? storedInput() : -1;
    ComboMidiIn.ListIndex = holds(ComboMidiIn, input + 1) ? input + 1 : 0;

    SetTheLangsQuery();
    SetTheLang();
}

// One entry per device number -1 .. n - 1, in that order, so device d stands
// at position d + 1; the entry named as the device the last OK applied is
// preselected at that same position.
void MIDISetupForm::buildDeviceList() {
    const int n = std::clamp(output_.PortCount(), 0, kMaxDeviceCount);
    ComboMidiOut.entries.clear();
    ComboMidiOut.entries.reserve(static_cast<std::size_t>(n) + 1);
    int selection = 0;
    for (int d = -1; d < n; ++d) {
        output_.PortNumber(d);
        ComboMidiOut.entries.push_back(output_.PortName());
        if (ComboMidiOut.entries.back() == MidiOutName) selection = d + 1;
    }
    MidiOutIndex = static_cast<std::int16_t>(selection);
    ComboMidiOut.ListIndex = selection;
}

// "none" first, named by relabel(); then the input devices in the system's
// order, so that device d stands at position d + 1.
void MIDISetupForm::buildInputList() {
    const int n = inputs ? std::clamp(inputs->count(), 0, kMaxDeviceCount) : 0;
    ComboMidiIn.entries.assign(1, language_.table.LangText(language_.LangNo, kGroupKeyboard, kTextNoInput));
    for (int d = 0; d < n; ++d) ComboMidiIn.entries.push_back(inputs->name(d));
    ComboMidiIn.ListIndex = 0;
}

void MIDISetupForm::Combo1_Click(int position) {
    if (!holds(Combo1, position)) return;
    Combo1.ListIndex = position;
    language_.LangNo = static_cast<std::int16_t>(position);
    settings_.write(kSection, kLangKey, std::to_string(position));
    SetTheLang();
}

void MIDISetupForm::Combo1_Scroll(int position) {
    Combo1_Click(position);
}

void MIDISetupForm::ComboMidiOut_Click(int position) {
    if (!holds(ComboMidiOut, position)) return;
    ComboMidiOut.ListIndex = position;
}

void MIDISetupForm::ComboMidiIn_Click(int position) {
    if (!holds(ComboMidiIn, position)) return;
    ComboMidiIn.ListIndex = position;
}

// A list without a selection (only before the window has loaded) stores
// nothing for it.
void MIDISetupForm::CmdOk_Click() {
    if (holds(Combo1, Combo1.ListIndex)) {
        language_.LangNo = static_cast<std::int16_t>(Combo1.ListIndex);
        settings_.write(kSection, kLangKey, std::to_string(Combo1.ListIndex));
    }
    if (holds(ComboMidiOut, ComboMidiOut.ListIndex))
        settings_.write(kSection, kDevKey, std::to_string(ComboMidiOut.ListIndex));
    SetUp();
}

void MIDISetupForm::SetUp() {
    const int position = ComboMidiOut.ListIndex;
    const bool chosen = holds(ComboMidiOut, position);
    MidiOutName = chosen ? ComboMidiOut.entries[static_cast<std::size_t>(position)] : std::string();
    MidiOutIndex = static_cast<std::int16_t>(chosen ? position : -1);
    ApplyMidiOut(output_, dialogs_, MidiOutIndex, position);
    ++setUpRuns_;
    if (MidiOutIndex >= 0) {
        const bool open = output_.PortIsOpen() != 0;
        // The built-in synthesizer is spared the port message, but silence must
        // not pass for sound: the user hears of it once per run, and the
        // player's status line keeps saying it.
        if (!open && position == 0 && !noAudioTold_) {
            noAudioTold_ = true;
            dialogs_.messageBox(statusText(language_.LangNo, StatusText::NoAudioMessage),
                                kCannotOpenPortTitle, MessageIcon::Exclamation);
        }
        if (deviceApplied) deviceApplied(position, MidiOutName, open);
    }
    applyInput();
    Hide();
    // The player window comes up even when the help document could not be
    // prepared; that message is shown first.
    if (prepareHelp) prepareHelp();
    if (showPlayer) showPlayer();
}

// The player stores the input it opened, by position and by name, and says
// so when it cannot open one. Applied after the output: opening it sends the
// right hand's voice to the output just opened.
void MIDISetupForm::applyInput() {
    if (!inputApplied) return;
    const int position = holds(ComboMidiIn, ComboMidiIn.ListIndex) ? ComboMidiIn.ListIndex : 0;
    const bool open = inputApplied(position - 1);
    MidiInIndex = static_cast<std::int16_t>(open ? position : 0);
    ComboMidiIn.ListIndex = MidiInIndex;
}

// At the first start nothing is lost and the user has not begun: Exit ends
// the program at once. Opened from the player, Exit reads as "close this
// window", so it asks before ending a session.
void MIDISetupForm::CmdCancel_Click() {
    if (playerShown() && !askToEndProgram(dialogs_, language_.LangNo)) return;
    dialogs_.endProgram();
}

// At the first start, closing the frame would hide the only visible window
// and leave the hidden player window running with nothing on screen: it ends
// the program, as Exit does. Opened from the player's Settings, the user
// means to go back to the player, not to end a session that may be playing.
void MIDISetupForm::Form_QueryUnload() {
    if (playerShown())
        BackToPlayer();
    else
        CmdCancel_Click();
}

// The language list applies a choice at once, so the language stays as
// chosen; only the device waits for OK.
void MIDISetupForm::BackToPlayer() {
    if (holds(ComboMidiOut, MidiOutIndex)) ComboMidiOut.ListIndex = MidiOutIndex;
    if (holds(ComboMidiIn, MidiInIndex)) ComboMidiIn.ListIndex = MidiInIndex;
    Hide();
    if (showPlayer) showPlayer();
}

// A stored value that names neither Turkish nor English counts as Turkish,
// the language a first use starts in; so does a LangNo of neither.
int MIDISetupForm::storedLanguage(const SettingsStore& settings) {
    const std::string stored = settings.read(kSection, kLangKey);
    if (stored.empty()) return -1;
    const int lang = storedPosition(stored, kLanguageCount);
    return lang < 0 ? kLangTurkish : lang;
}

void MIDISetupForm::SetTheLang() {
    const int stored = storedLanguage(settings_);
    int lang = stored < 0 ? language_.LangNo : stored;
    if (lang != kLangTurkish && lang != kLangEnglish) lang = kLangTurkish;

    relabel(lang);
    for (const auto& relabelWindow : relabellers)
        if (relabelWindow) relabelWindow(language_.table, lang);
}

void MIDISetupForm::SetTheLangsQuery() {
    language_.table.SetTheLangsQuery();
}

void MIDISetupForm::relabel(int lang) {
    const TextTable& table = language_.table;
    window.caption = table.LangText(lang, kGroupCaptions, 0);
    Label1.caption = table.LangText(lang, kGroupCaptions, 1);
    Label2.caption = table.LangText(lang, kGroupCaptions, 2);
    CmdOk.caption = table.LangText(lang, kGroupCaptions, 3);
    CmdCancel.caption = table.LangText(lang, kGroupCaptions, 4);
    Label3.caption = table.LangText(lang, kGroupKeyboard, kTextInputDevice);
    if (!ComboMidiIn.entries.empty()) ComboMidiIn.entries.front() = table.LangText(lang, kGroupKeyboard, kTextNoInput);
}

}  // namespace vornel
