#include "settings/MidiOutOpening.h"

#include "midi/output/MIDIOutputComponent.h"

namespace vornel {

// Position 0 is opened like every other position: it is the built-in
// synthesizer, the first-run default, so a new user hears sound at once. Its
// failure stays silent all the same; the warning is for devices the user
// picked from the list.
std::int16_t ApplyMidiOut(MIDIOutputComponent& output, Dialogs& dialogs, std::int16_t MidiOutIndex,
                          int listPosition) {
    if (output.PortIsOpen() != 0) output.PortCommand(MIDIOutputComponent::ClosePort);
    if (MidiOutIndex < 0) return 1;
    OpenMidiOut(output, listPosition);
    if (output.PortIsOpen() == 0 && listPosition > 0) {
        dialogs.messageBox(kCannotOpenPortText, kCannotOpenPortTitle, MessageIcon::Exclamation);
        return 0;
    }
    return 1;
}

// The list shows device number p - 1 at position p, and opening uses that
// same device: what the user reads is what is opened.
void OpenMidiOut(MIDIOutputComponent& output, int listPosition) {
    if (output.PortIsOpen() > 0 || output.PortNumber() == -1)
        output.PortCommand(MIDIOutputComponent::ClosePort);
    if (listPosition < 0) return;
    output.PortNumber(listPosition - 1);
    output.PortCommand(MIDIOutputComponent::OpenPort);
}

}  // namespace vornel
