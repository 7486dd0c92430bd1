#pragma once

#include <array>
#include <functional>

#include "platform/Control.h"
#include "settings/TextTable.h"

namespace vornel {

struct Language;

// The key map window `frmMap` as a presentation model: which letter keys pick
// the chord roots and which function keys switch the accompaniment channels,
// as twenty pairs of labels in a frame, a note on minor chords and OK; and
// for a MIDI keyboard, the keys of sync start, tap tempo, the chord change and
// the master volume, and a paragraph on playing it.
// Created hidden when the language is first applied; OK only hides it again.
class KeyMapForm {
public:
    static constexpr int kPairCount = 20;
    // Pairs 0..11 are the letter keys (the window's left half), 12..19 the
    // function keys (its right half).
    static constexpr int kLetterKeyCount = 12;
    // F11, F12, Alt + C and Page Up / Page Down, under the function keys of the channels.
    static constexpr int kKeyboardPairCount = 4;

    KeyMapForm();
    KeyMapForm(const KeyMapForm&) = delete;
    KeyMapForm& operator=(const KeyMapForm&) = delete;

    // Collaborator, set by the owner; skipped while unset.
    std::function<void()> showPlayer;

    // Controls.
    Control window;                                          // caption = title; visible
    Control Frame1;                                          // holds the twenty pairs
    std::array<Control, kPairCount> Label1;                  // the key
    std::array<Control, kPairCount> Label2;                  // what it does
    Control Label3;                                          // the note on minor chords
    std::array<Control, kKeyboardPairCount> KeyboardKey;     // "F 11 --->>>", ..., "PgUp/PgDn --->>>"
    std::array<Control, kKeyboardPairCount> KeyboardAction;  // sync start, tap tempo, chord change, master volume
    Control KeyboardNote;                                    // how a MIDI keyboard is played
    Control Command1;                                        // OK

    // Title, OK and the MIDI keyboard's texts in language `lang` of `table`;
    // the key labels are the same in every language.
    void relabel(const TextTable& table, int lang);
    void relabel(const Language& language);

    // OK: the key map window goes, then the player window comes back.
    void Command1_Click();

    void Show() { window.visible = true; }
    void Hide() { window.visible = false; }
};

}  // namespace vornel
