#include "player/PlayerState.h"

#include "settings/Language.h"

namespace vornel {

namespace {

constexpr std::array<const char*, 12> kChordCaptions{" C", "C#",  "D  ", "Eb",   "E ", "  F",
                                                     "F#", "G  ", "Ab",  "A   ", "Bb", "B  "};
constexpr std::array<const char*, 8> kChannelNames{"Sub Rhythm", "Main Rhythm", "Bass",     "Chord 1",
                                                   "Chord 2",    "Pad",         "Phrase 1", "Phrase 2"};

Control captioned(const char* caption, bool enabled = true) {
    Control c;
    c.caption = caption;
    c.enabled = enabled;
    return c;
}

}  // namespace

// Every control carries its Turkish caption from the start; the language step
// relabels them before the window is first shown.
PlayerState::PlayerState(MidifileComponent& reader, MIDIOutputComponent& output, StyleData& styleData,
                         const Language& lang, Dialogs& dlg, Timer& timer1, Timer& timer2, Timer& timer3)
    : Midifile1(reader),
      MIDIOutput1(output),
      style(styleData),
      language(lang),
      dialogs(dlg),
      Timer1(timer1),
      Timer2(timer2),
      Timer3(timer3),
      engine(reader, output, styleData, *this),
      Cmd_Part(makePartButtons(ColNormal)) {
    window = captioned(kAppTitle);

    Cmd_Open = captioned("Aç ..");
    Cmd_Panic = captioned("Panik");
    Cmd_Settings = captioned("Ayarlar");
    mnuMap = captioned("Harita");
    Cmd_About = captioned("Hakkında");
    Cmd_Help = captioned("Yardım");
    Cmd_Exit = captioned("     - Çıkış -     ");
    Cmd_Play = captioned("Oynat", false);
    Cmd_Stop = captioned("Durdur", false);

    Frm_Style = captioned("Stil");
    Frm_Chords = captioned("Akorlar");
    for (std::size_t i = 0; i < Lbl_Chord.size(); ++i) {
        Lbl_Chord[i] = captioned(kChordCaptions[i % 12], false);
        Lbl_Chord[i].colour = KeyColors[i % 12];
    }

    for (std::size_t i = 0; i < 8; ++i) {
        Label6[i] = captioned(kChannelNames[i]);
        Cmd_DisCh[i] = captioned("", false);
        Cmd_DisCh[i].colour = ColOn;
        Cmd_DisCh[i].toolTip = " Açık / Kapalı ";
    }
    // The bars start full and fall to zero under Timer2 once the window runs.
    for (int ch = kFirstMeterChannel; ch <= kLastMeterChannel; ++ch)
        ProgressBar2[static_cast<std::size_t>(ch)] = kMeterFullScale;
    Label1 = captioned("Tempo Modify");
    Command1 = captioned("");
    Command1.colour = ColOn;
    Command1.toolTip = " Gösterge - Açık / Kapalı ";
    Lbl_Master = captioned("Ana Ses");
    MasterReadout = captioned(std::to_string(MasterVolume).c_str());

    Lbl_Loading = captioned("");
    Label4 = captioned("--------------");

    Frm_File = captioned("Dosya");
    Lbl_NameN = captioned("İsim");
    Lbl_CopyN = captioned("Telif hakkı");
    Lbl_TimeSignN = captioned("Ölçü");
    Lbl_TempoN = captioned("Tempo");
    Lbl_SizeN = captioned("Boyut");
    Lbl_DataCN = captioned("Veri sayısı");
    for (Control* value : {&Lbl_Name, &Lbl_Copy, &Lbl_TimeSign, &Lbl_Tempo, &Lbl_Size, &Lbl_DataC, &Label7})
        *value = captioned("-");
}

std::string PlayerState::fileFrameCaption(const std::string& title) const {
    return FileFrameName.empty() ? title : title + " - [" + FileFrameName + "]";
}

const std::string& PlayerState::text(int group, int entry) const {
    return language.text(group, entry);
}

}  // namespace vornel
