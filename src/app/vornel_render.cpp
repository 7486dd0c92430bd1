// A developer's tool: loads a style and plays it through the player model
// without a window, into the built-in synthesizer on a manual clock, and
// writes what it hears to a WAV file. Chords change at the times given, as a
// musician pressing keys would; the model picks them up at the next bar line
// it has not queued yet. With --info it lists a style's tracks, markers and
// channel table.
//
//   vornel_render STYLE OUT.wav [--part NAME] [--chords "C Am F G"]
//                 [--every SECONDS] [--seconds N] [--log]
//   vornel_render --info STYLE

#include <cmath>
#include <cstdio>
#include <cstring>
#include <sstream>
#include <string>
#include <vector>

#include "app/ChannelTableText.h"
#include "midi/file/CasmParser.h"
#include "midi/file/Midifile.h"
#include "midi/output/MIDIOutput.h"
#include "midi/output/synth/OfflineRender.h"
#include "midi/output/synth/OfflineSynthPort.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Dispatcher.h"
#include "platform/Timer.h"
#include "player/Player.h"
#include "settings/Language.h"
#include "style/PartTable.h"
#include "style/StyleData.h"

using namespace vornel;

namespace {

// Message boxes go to the terminal; questions are answered No.
class ConsoleDialogs final : public Dialogs {
public:
    void messageBox(const std::string& text, const std::string& title, MessageIcon) override {
        std::fprintf(stderr, "[%s] %s\n", title.c_str(), text.c_str());
    }
    bool askYesNo(const std::string& text, const std::string& title) override {
        std::fprintf(stderr, "[%s] %s -> No\n", title.c_str(), text.c_str());
        return false;
    }
    void beep() override {}
    void setWaitCursor(bool) override {}
    void focusKeyboardSink() override {}
    void repaintNow() override {}
    void endProgram() override {}
};

// "C", "F#", "Bb", "Am", "C#m" ... -> chord label 0..23, or -1.
int chordLabel(const std::string& name) {
    static const char* roots[] = {"C", "C#", "D", "Eb", "E", "F", "F#", "G", "Ab", "A", "Bb", "B"};
    static const char* sharps[] = {"C", "Db", "D", "D#", "E", "F", "Gb", "G", "G#", "A", "A#", "B"};
    std::string root = name;
    int minor = 0;
    if (!root.empty() && root.back() == 'm') {
        minor = 12;
        root.pop_back();
    }
    for (int i = 0; i < 12; ++i)
        if (root == roots[i] || root == sharps[i]) return i + minor;
    return -1;
}

int buttonOf(const std::string& part) {
    for (const PartInfo& p : kPartTable)
        if (p.sectionName == part) return p.button;
    return -1;
}

int info(const char* path) {
    Midifile file;
    file.FileAction(Midifile::kActionClose);
    file.FileName(path);
    file.FileAction(Midifile::kActionOpen);
    // The denominator is a power of two as the file writes it; a damaged file
    // may give an exponent no integer can hold.
    const int exp = file.TimeSigDenExp();
    const std::string denominator = exp >= 0 && exp < 16 ? std::to_string(1 << exp) : "2^" + std::to_string(exp);
    std::printf("%s\n  tracks %d, resolution %d, tempo %d us, time signature %d/%s\n", path, file.TrackCount(),
                file.Resolution(), file.Tempo(), file.TimeSigNum(), denominator.c_str());
    for (int t = 1; t <= file.TrackCount(); ++t) {
        file.Track(t);
        long tick = 0;
        std::printf("  track %d: %d events\n", t, file.EventCount());
        for (int e = 1; e <= file.EventCount(); ++e) {
            file.EventIndex(e);
            tick += file.EvDelta();
            if (file.EvStatus() == 255 && file.EvData1() == 6)
                std::printf("    tick %8ld  marker \"%s\"\n", tick, file.EvText().c_str());
        }
    }
    ChannelTable table;
    table.fill(CasmParser::parse(file.ChannelTable()));
    std::printf("%s", channelTableText(table).c_str());
    return 0;
}

struct Options {
    std::string style, wav, part;
    std::vector<int> chords;
    double every = 4.0, seconds = 16.0;
    bool log = false;
};

int render(const Options& o) {
    ManualClock clock;
    QueueDispatcher ui;
    OfflineSynthProvider provider;
    MIDIOutput out(provider, ui, clock, MIDIOutput::Drive::Manual);
    Midifile reader;
    StyleData style;
    Language language;
    language.table.SetTheLangsQuery();
    language.LangNo = kLangEnglish;
    ConsoleDialogs dialogs;
    ManualTimer timer1(250), timer2(55, true), timer3(250);
    Player player(reader, out, style, language, dialogs, timer1, timer2, timer3);
    player.Form_Load();

    out.PortNumber(-1);
    out.PortCommand(MIDIOutput::OpenPort);
    if (!out.PortIsOpen() || !provider.last) {
        std::fprintf(stderr, "The built-in synthesizer could not start: no General MIDI SoundFont found.\n");
        return 1;
    }
    player.LoadFile(o.style);
    PlayerState& s = player.state();
    if (!s.Cmd_Play.enabled) {
        std::fprintf(stderr, "%s did not load.\n", o.style.c_str());
        return 1;
    }
    if (!o.part.empty()) {
        const int button = buttonOf(o.part);
        if (button < 0 || !s.Cmd_Part[static_cast<std::size_t>(button)].enabled) {
            std::fprintf(stderr, "The style has no part \"%s\".\n", o.part.c_str());
            return 1;
        }
        player.Cmd_Part_Click(button);
    }
    if (!o.chords.empty()) player.Lbl_Chord_Click(o.chords[0]);

    if (o.log) {
        out.CueReached = [&, inner = out.CueReached](std::int32_t tag) {
            if (tag < 10) std::printf("%9.1f ms  cue %d  part %s bar %d  chord %d\n", out.queueTimeMs(), tag,
                                      s.PartName.c_str(), s.CurBar, s.ChordIdx);
            if (inner) inner(tag);
        };
    }

    OfflineRender renderer(provider.last->synth(), clock, 256);
    std::size_t nextChord = 1;
    const double startMs = clock.nowMs();
    renderer.onPeriod([&](double nowMs) {
        const double t = (nowMs - startMs) / 1000.0;
        if (!o.chords.empty() && t >= o.every * static_cast<double>(nextChord)) {
            player.Lbl_Chord_Click(o.chords[nextChord % o.chords.size()]);
            ++nextChord;
        }
        out.pump();
        ui.drain();
    });
    player.Cmd_Play_Click();
    if (!renderer.renderToWav(o.seconds, o.wav)) {
        std::fprintf(stderr, "Could not write %s\n", o.wav.c_str());
        return 1;
    }
    player.Cmd_Stop_Click();
    std::printf("Rendered %.1f s of \"%s\" to %s\n", o.seconds, s.PartName.c_str(), o.wav.c_str());
    return 0;
}

int usage() {
    std::fprintf(stderr,
                 "usage: vornel_render STYLE OUT.wav [--part NAME] [--chords \"C Am F G\"] [--every SECONDS]\n"
                 "                     [--seconds N] [--log]\n"
                 "       vornel_render --info STYLE\n");
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--info") == 0) return info(argv[2]);
    if (argc < 3) return usage();
    Options o;
    o.style = argv[1];
    o.wav = argv[2];
    for (int i = 3; i < argc; ++i) {
        const std::string a = argv[i];
        const bool hasValue = i + 1 < argc;
        if (a == "--log") {
            o.log = true;
        } else if (a == "--part" && hasValue) {
            o.part = argv[++i];
        } else if (a == "--chords" && hasValue) {
            std::istringstream names(argv[++i]);
            for (std::string name; names >> name;) {
                const int label = chordLabel(name);
                if (label < 0) {
                    std::fprintf(stderr, "Unknown chord \"%s\" (use C, C#, Db ... B, with m for minor).\n", name.c_str());
                    return 2;
                }
                o.chords.push_back(label);
            }
        } else if (a == "--every" && hasValue) {
            o.every = std::atof(argv[++i]);
        } else if (a == "--seconds" && hasValue) {
            o.seconds = std::atof(argv[++i]);
        } else {
            return usage();
        }
    }
    if (!(o.every > 0.0) || !(o.seconds > 0.0) || o.seconds > 3600.0) return usage();
    return render(o);
}
