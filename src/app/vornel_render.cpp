// A developer's tool: loads a style and plays it through the player model
// without a window, into the built-in synthesizer on a manual clock, and
// writes what it hears to a WAV file. Chords change at the times given, as a
// musician pressing keys would; the model picks them up at the next bar line
// it has not queued yet. With --info it lists a style's tracks, markers,
// channel table and the preset the default SoundFont plays for each channel.
//
//   vornel_render STYLE OUT.wav [--part NAME] [--chords "C Am7 F G7" | "C@0,G@1.5"]
//                 [--every SECONDS] [--then "Fill In AA@6,Ending A@12"]
//                 [--seconds N] [--log] [--events FILE]
//   vornel_render --info STYLE
//
// Chords are played as a MIDI keyboard's left hand names them, so a style
// with a channel table hears their type. --then presses part buttons at the
// seconds given. --events writes every message the synthesizer receives,
// one a line: its queue time in ms (or "now" and the time it was sent),
// status, data 1, data 2.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "app/ChannelTableText.h"
#include "app/ChannelVoicesText.h"
#include "midi/MidiVocabulary.h"
#include "midi/file/CasmParser.h"
#include "midi/file/Midifile.h"
#include "midi/output/MIDIOutput.h"
#include "midi/output/synth/OfflineRender.h"
#include "midi/output/synth/OfflineSynthPort.h"
#include "midi/output/synth/SoundFontLocator.h"
#include "midi/output/synth/SoundFontPresets.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Dispatcher.h"
#include "platform/Timer.h"
#include "player/ChordRecognition.h"
#include "player/Player.h"
#include "settings/Language.h"
#include "style/PartTable.h"
#include "style/StyleData.h"

using namespace vornel;

namespace {

constexpr int kMarkerType = 6;  // the meta event that names a section

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

// "C", "F#", "Bbm", "Am7", "Gsus4", "Fmaj7" ...: a root and a suffix, the
// way the player window names a recognised chord.
std::optional<RecognisedChord> chordNamed(const std::string& name) {
    static const char* sharps[] = {"C", "C#", "D", "D#", "E", "F", "F#", "G", "G#", "A", "A#", "B"};
    static const char* flats[] = {"C", "Db", "D", "Eb", "E", "F", "Gb", "G", "Ab", "A", "Bb", "B"};
    for (int root = 0; root < 12; ++root) {
        for (const char* spelling : {sharps[root], flats[root]}) {
            const std::string r = spelling;
            if (name.compare(0, r.size(), r) != 0) continue;
            const std::string suffix = name.substr(r.size());
            if (!suffix.empty() && (suffix[0] == '#' || suffix[0] == 'b')) continue;  // a longer root
            for (int type = 0; type <= static_cast<int>(ChordType::AddedNinth); ++type) {
                const RecognisedChord chord{root, static_cast<ChordType>(type)};
                if (RecognisedChord{0, chord.type}.name().substr(1) == suffix) return chord;
            }
        }
    }
    return std::nullopt;
}

struct PartPress {
    double atSeconds = 0.0;
    int button = -1;
};

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
            if (file.EvStatus() == midi::kMeta && file.EvData1() == kMarkerType)
                std::printf("    tick %8ld  marker \"%s\"\n", tick, file.EvText().c_str());
        }
    }
    ChannelTable table;
    table.fill(CasmParser::parse(file.ChannelTable()));
    std::printf("%s", channelTableText(table).c_str());
    const std::string soundFont = SoundFontLocator::findDefault().string();
    std::printf("  SoundFont: %s\n", soundFont.empty() ? "none found" : soundFont.c_str());
    std::printf("%s", channelVoicesText(file, VoiceMap(SoundFontPresets::read(soundFont))).c_str());
    return 0;
}

// A chord played at a given second ("G@1.5").
struct TimedChord {
    double atSeconds = 0.0;
    RecognisedChord chord;
};

struct Options {
    std::string style, wav, part, events;
    std::vector<RecognisedChord> chords;
    std::vector<TimedChord> timedChords;  // --chords "C@0,G@1.0": in place of `chords` and --every
    std::vector<PartPress> presses;
    double every = 4.0, seconds = 16.0;
    ChordChangeMode chordChange = ChordChangeMode::AtOnce;
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
    s.engine.ChordChange = o.chordChange;
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
    if (!o.chords.empty()) player.liveChord(o.chords[0]);
    std::size_t nextTimed = 0;
    for (; nextTimed < o.timedChords.size() && o.timedChords[nextTimed].atSeconds <= 0.0; ++nextTimed)
        player.liveChord(o.timedChords[nextTimed].chord);

    std::FILE* events = nullptr;
    double playStartMs = clock.nowMs();  // queue time 0
    if (!o.events.empty()) {
        events = std::fopen(o.events.c_str(), "w");
        if (!events) {
            std::fprintf(stderr, "Could not write %s\n", o.events.c_str());
            return 1;
        }
        provider.last->observe = [&](const MidiMessage& m, double dueMs) {
            if (dueMs < 0)
                std::fprintf(events, "now %.1f %d %d %d\n", clock.nowMs() - playStartMs, m.status, m.data1, m.data2);
            else
                std::fprintf(events, "%.1f %d %d %d\n", dueMs, m.status, m.data1, m.data2);
        };
    }

    if (o.log) {
        out.CueReached = [&, inner = out.CueReached](std::int32_t tag) {
            if (tag < 10)
                std::printf("%9.1f ms  cue %d  part %s bar %d  chord %d\n", out.queueTimeMs(), tag,
                            s.engine.PartName.c_str(), s.engine.CurBar, s.engine.ChordIdx);
            if (inner) inner(tag);
        };
    }

    OfflineRender renderer(provider.last->synth(), clock, 256);
    std::size_t nextChord = 1, nextPress = 0;
    const double startMs = clock.nowMs();
    renderer.onPeriod([&](double nowMs) {
        const double t = (nowMs - startMs) / 1000.0;
        if (!o.chords.empty() && t >= o.every * static_cast<double>(nextChord)) {
            player.liveChord(o.chords[nextChord % o.chords.size()]);
            ++nextChord;
        }
        for (; nextTimed < o.timedChords.size() && t >= o.timedChords[nextTimed].atSeconds; ++nextTimed)
            player.liveChord(o.timedChords[nextTimed].chord);
        for (; nextPress < o.presses.size() && t >= o.presses[nextPress].atSeconds; ++nextPress)
            player.Cmd_Part_Click(o.presses[nextPress].button);
        out.pump();
        ui.drain();
    });
    playStartMs = clock.nowMs();
    player.Cmd_Play_Click();
    if (!renderer.renderToWav(o.seconds, o.wav)) {
        std::fprintf(stderr, "Could not write %s\n", o.wav.c_str());
        return 1;
    }
    player.Cmd_Stop_Click();
    if (events) std::fclose(events);
    std::printf("Rendered %.1f s of \"%s\" to %s\n", o.seconds, s.engine.PartName.c_str(), o.wav.c_str());
    return 0;
}

constexpr const char* kUsage =
    "usage: vornel_render STYLE OUT.wav [options]   plays STYLE through the built-in synthesizer into OUT.wav\n"
    "       vornel_render --info STYLE               lists STYLE's tracks, meter, markers, channel table and voices\n"
    "options:\n"
    "  --part NAME        the part pressed at the start, e.g. \"Intro A\" (default: the one chosen at loading)\n"
    "  --chords \"C Am7\"   chords played in turn, one every --every seconds, repeated (default: C);\n"
    "                     a root C, C#, Db ... B, then nothing, m, 7, m7, maj7, 6, m6, sus4, dim, aug or add9\n"
    "  --chords \"C@0,G@1.5\"  or each chord from the second given (two chords a bar, say); --every is then unused\n"
    "  --every SECONDS    time between chords (default 4)\n"
    "  --chord-change M   when a chord is heard: at-once (default), beat (the next beat) or bar (the next bar line)\n"
    "  --then LIST        parts pressed later, as PART@SECONDS, e.g. \"Fill In AA@6,Ending A@12\"\n"
    "  --seconds N        length of the recording, at most 3600 (default 16)\n"
    "  --events FILE      every message sent, with its time, into FILE (read by scripts/check_events.py)\n"
    "  --log              each cue as it is reached: part, bar and chord\n";

int usage() {
    std::fputs(kUsage, stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 2 && (std::strcmp(argv[1], "--help") == 0 || std::strcmp(argv[1], "-h") == 0)) {
        std::fputs(kUsage, stdout);
        return 0;
    }
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
            const std::string list = argv[++i];
            const auto unknown = [](const std::string& name) {
                std::fprintf(stderr,
                             "Unknown chord \"%s\" (a root C, C#, Db ... B, then nothing, m, 7, m7, maj7, 6, m6, "
                             "sus4, dim, aug or add9).\n",
                             name.c_str());
                return 2;
            };
            if (list.find('@') != std::string::npos) {
                std::istringstream items(list);
                for (std::string item; std::getline(items, item, ',');) {
                    const std::size_t at = item.rfind('@');
                    char* end = nullptr;
                    const double seconds = at == std::string::npos ? -1.0 : std::strtod(item.c_str() + at + 1, &end);
                    if (at == std::string::npos || end == item.c_str() + at + 1 || *end != '\0' || !(seconds >= 0.0)) {
                        std::fprintf(stderr, "Cannot read \"%s\" (use CHORD@SECONDS, e.g. \"G7@1.5\").\n",
                                     item.c_str());
                        return 2;
                    }
                    const auto chord = chordNamed(item.substr(0, at));
                    if (!chord) return unknown(item.substr(0, at));
                    o.timedChords.push_back({seconds, *chord});
                }
                std::stable_sort(o.timedChords.begin(), o.timedChords.end(),
                                 [](const TimedChord& x, const TimedChord& y) { return x.atSeconds < y.atSeconds; });
                continue;
            }
            std::istringstream names(list);
            for (std::string name; names >> name;) {
                const auto chord = chordNamed(name);
                if (!chord) return unknown(name);
                o.chords.push_back(*chord);
            }
        } else if (a == "--then" && hasValue) {
            std::istringstream list(argv[++i]);
            for (std::string item; std::getline(list, item, ',');) {
                const std::size_t at = item.rfind('@');
                const int button = at == std::string::npos ? -1 : buttonOf(item.substr(0, at));
                if (button < 0) {
                    std::fprintf(stderr, "Cannot read \"%s\" (use PART@SECONDS, e.g. \"Main B@8\").\n", item.c_str());
                    return 2;
                }
                o.presses.push_back({std::atof(item.c_str() + at + 1), button});
            }
            std::stable_sort(o.presses.begin(), o.presses.end(),
                             [](const PartPress& x, const PartPress& y) { return x.atSeconds < y.atSeconds; });
        } else if (a == "--chord-change" && hasValue) {
            const std::string mode = argv[++i];
            if (mode == "at-once") {
                o.chordChange = ChordChangeMode::AtOnce;
            } else if (mode == "beat") {
                o.chordChange = ChordChangeMode::NextBeat;
            } else if (mode == "bar") {
                o.chordChange = ChordChangeMode::NextBarLine;
            } else {
                std::fprintf(stderr, "--chord-change takes at-once, beat or bar.\n");
                return 2;
            }
        } else if (a == "--events" && hasValue) {
            o.events = argv[++i];
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
