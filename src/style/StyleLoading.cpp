#include "style/StyleLoading.h"

#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <system_error>

#include "midi/MidiVocabulary.h"
#include "midi/file/CasmParser.h"
#include "midi/file/MidifileComponent.h"
#include "midi/output/MIDIOutputComponent.h"
#include "player/StatusLine.h"
#include "style/FileEvents.h"
#include "style/MarkerScan.h"
#include "style/StyleData.h"

namespace vornel {

namespace {

constexpr std::int16_t kCopyrightType = 2;
constexpr std::int16_t kTrackNameType = 3;
constexpr std::int16_t kMarkerType = 6;
constexpr int kFirstAccompanimentChannel = 8;  // MIDI channel 9

// Loading goes on past a step that fails: a fault inside one step (a damaged
// file, say) ends that step only, and the next step runs.
template <typename Step>
void runStep(Step&& step) noexcept {
    try {
        step();
    } catch (...) {
    }
}

// 2 ^ exponent in plain decimal digits. The reader gives 0..255; every power
// of two is exact in a double, and "%.0f" writes it out in full.
std::string powerOfTwo(int exponent) {
    if (exponent < 0) return "0";
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%.0f", std::ldexp(1.0, exponent));
    return buffer;
}

std::string loadingText(const PlayerState& s, const char* percent) {
    return s.text(2, 3) + "   % " + percent;
}

}  // namespace

void ShowAndLoadInfo(PlayerState& s) {
    MidifileComponent& file = s.Midifile1;
    StyleData& style = s.style;

    const std::string path = file.FileName();
    s.FileFrameName = std::filesystem::path(path).filename().string();
    s.Frm_File.caption = s.fileFrameCaption(s.text(0, 5));

    style.MarkerCount = 0;
    style.LoadedParts = 0;
    s.Lbl_Loading.visible = true;

    // A file without a name or copyright must not show the previous style's.
    s.Lbl_Name.caption = "-";
    s.Lbl_Copy.caption = "-";
    const FileEvents events = FileEvents::read(file, 1);
    for (const FileEvent& e : events.track(1)) {
        if (e.status != midi::kMeta) continue;
        const std::int16_t type = e.data1;
        if (type == kCopyrightType) {
            s.Lbl_Copy.caption = events.text(e);
        } else if (type == kTrackNameType) {
            s.Lbl_Name.caption = events.text(e);
        } else if (type == kMarkerType) {
            std::string name(events.text(e));
            LoadMarker(name, s.Cmd_Part, style);
        }
    }

    // Without a tempo the remaining fields cannot be worked out: they keep
    // what they showed, and loading goes on.
    const std::int32_t tempo = file.Tempo();
    if (tempo == 0) return;
    s.Lbl_Tempo.caption = std::to_string(static_cast<long long>(std::floor(60000000.0 / tempo)));
    s.Lbl_TimeSign.caption = std::to_string(file.TimeSigNum()) + " / " + powerOfTwo(file.TimeSigDenExp());

    std::error_code ec;
    const std::uintmax_t bytes = std::filesystem::file_size(path, ec);
    if (ec) return;  // a file that is gone has no size; the step ends here
    s.Lbl_Size.caption = std::to_string(bytes / 1000) + " KB";

    file.Track(1);
    s.Lbl_DataC.caption = std::to_string(file.EventCount());
}

void LoadFile(PlayerState& s, const std::string& CdFL) {
    MidifileComponent& file = s.Midifile1;
    MIDIOutputComponent& out = s.MIDIOutput1;
    Dialogs& dialogs = s.dialogs;

    runStep([&] { dialogs.repaintNow(); });
    runStep([&] { out.PortCommand(MIDIOutputComponent::ClosePort); });
    runStep([&] {
        file.FileAction(MidifileComponent::kActionClose);
        file.FileName(CdFL);
        file.FileAction(MidifileComponent::kActionOpen);
    });
    runStep([&] { out.PortCommand(MIDIOutputComponent::OpenPort); });
    // Cleared on its own first: a table that fails to read must not leave the
    // previous style's in place.
    runStep([&] { s.style.channels.clear(); });
    runStep([&] { s.style.channels.fill(CasmParser::parse(file.ChannelTable())); });
    runStep([&] {
        for (Control& button : s.Cmd_Part) button.enabled = false;
    });
    runStep([&] {
        for (std::size_t i = 0; i < 12; ++i) {
            for (Control* label : {&s.Lbl_Chord[i], &s.Lbl_Chord[i + 12]}) {
                label->enabled = false;
                label->colour = s.KeyColors[i];
            }
        }
    });
    runStep([&] { ShowAndLoadInfo(s); });
    // Before the section check, so the status line says why when it rejects the file.
    runStep([&] { reportLoadProblems(s, CdFL); });

    runStep([&] { CheckParts(s); });
    if (s.engine.CurPart == -1) return;

    runStep([&] { s.Lbl_Loading.caption = loadingText(s, "0"); });
    runStep([&] { dialogs.setWaitCursor(true); });
    runStep([&] {
        LoadPartLists(s.style);
        s.Lbl_Loading.visible = true;
    });
    runStep([&] { SetParts(s); });
    runStep([&] {
        s.Lbl_Loading.caption = loadingText(s, "100");
        s.Cmd_Play.enabled = true;
        dialogs.setWaitCursor(false);
        s.Label4.visible = false;
        s.Lbl_Loading.visible = false;
    });
    // Every load starts with all eight accompaniment channels audible.
    runStep([&] {
        for (int i = 0; i < 8; ++i) {
            Control& button = s.Cmd_DisCh[static_cast<std::size_t>(i)];
            button.enabled = true;
            button.colour = s.ColOn;
            out.StatusByte(midi::statusOf(midi::kControlChange, kFirstAccompanimentChannel + i));
            out.DataByte1(midi::cc::kExpression);
            out.DataByte2(127);
            out.PortCommand(MIDIOutputComponent::SendNow);
        }
    });
    runStep([&] {
        if (s.engine.ChordIdx >= 0 && s.engine.ChordIdx < static_cast<std::int16_t>(s.Lbl_Chord.size()))
            s.Lbl_Chord[static_cast<std::size_t>(s.engine.ChordIdx)].colour = s.ColSelected;
    });
    runStep([&] {
        dialogs.beep();
        dialogs.focusKeyboardSink();
    });
}

}  // namespace vornel
