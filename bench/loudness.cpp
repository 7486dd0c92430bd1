// Loudness of the built-in synthesizer: generated dense and sparse styles
// played through the player model into the real FluidSynthPort offline, as
// vornel_render plays them, measured with libebur128 (integrated loudness,
// loudness range, sample and true peak), once as FluidSynth renders them at
// the old gain without master volume or limiter ("before"), then as the
// program plays them now at the default master volume and at full master
// volume, where the limiter works hardest ("after").
// A benchmark, not a test: it prints a table and exits 0 unless it cannot run.
//
//   loudness [SECONDS]     (default 20 s a style)

#include <ebur128.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "midi/MasterVolume.h"
#include "midi/file/Midifile.h"
#include "midi/output/MIDIOutput.h"
#include "midi/output/synth/OfflineRender.h"
#include "midi/output/synth/OfflineSynthPort.h"
#include "platform/Clock.h"
#include "platform/Dialogs.h"
#include "platform/Dispatcher.h"
#include "platform/Timer.h"
#include "player/ChordRecognition.h"
#include "player/Player.h"
#include "settings/Language.h"
#include "style/StyleData.h"
#include "support/SmfBuilder.h"
#include "support/TempDir.h"

using namespace vornel;

namespace {

constexpr double kRate = 44100.0;
// The gain before the limiter came, for the "before" column.
constexpr double kOldGain = 0.28;
constexpr int kTicks = 480;

class QuietDialogs final : public Dialogs {
public:
    void messageBox(const std::string& text, const std::string&, MessageIcon) override {
        std::fprintf(stderr, "%s\n", text.c_str());
    }
    bool askYesNo(const std::string&, const std::string&) override { return false; }
    void beep() override {}
    void setWaitCursor(bool) override {}
    void focusKeyboardSink() override {}
    void repaintNow() override {}
    void endProgram() override {}
};

enum class Density { Sparse, Dense, Loudest };

// The accompaniment channels as a busy real style plays them (the same parts
// as scripts/make-style.py): instruments to pick from, one C chord voicing,
// channel volume, steps per beat (0: held for the bar), velocity range.
struct Part {
    int channel;
    std::vector<int> programs, notes;
    int volume, steps, low, high;
};
const std::vector<Part> kParts = {
    {8, {0}, {36, 38, 42}, 100, 4, 70, 120},
    {9, {0, 16, 25}, {36, 38, 46, 49}, 100, 2, 70, 120},
    {10, {33, 34, 38}, {36}, 100, 2, 90, 110},
    {11, {0, 4, 5}, {60, 64, 67, 72}, 85, 2, 70, 100},
    {12, {24, 25, 27}, {55, 60, 64, 67}, 80, 2, 70, 100},
    {13, {48, 49, 89}, {48, 55, 60, 64}, 75, 0, 60, 85},
    {14, {61, 62, 65}, {72, 76, 79}, 85, 1, 80, 105},
    {15, {56, 71, 73}, {84, 88}, 80, 1, 80, 105},
};

// Sparse: drums and bass, one note a step, soft. Dense: all eight channels,
// full chords. Loudest: dense at velocity and volume 127, the worst case.
std::filesystem::path writeStyle(const std::filesystem::path& path, Density density, unsigned seed) {
    std::mt19937 rng(seed);
    const auto pick = [&rng](int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng); };
    test::SmfBuilder file(0, kTicks);
    test::TrackBuilder& t = file.addTrack();
    t.trackName(0, "Loudness").timeSignature(0, 4, 2).tempo(0, 535714).marker(0, "SFF1").marker(0, "SInt");
    t.gmOn(0).xgOn(0);
    for (const Part& p : kParts) {
        const bool drums = p.channel == 8 || p.channel == 9;
        t.controlChange(0, p.channel, 0, drums ? 127 : 0)
            .programChange(0, p.channel, p.programs[static_cast<std::size_t>(pick(0, int(p.programs.size()) - 1))])
            .controlChange(0, p.channel, 7, density == Density::Loudest ? 127 : p.volume);
    }
    std::vector<std::pair<std::uint64_t, std::vector<int>>> events;  // tick, {status, d1, d2}
    const std::uint64_t bar = 4 * kTicks;
    for (const Part& p : kParts) {
        if (density == Density::Sparse && p.channel >= 12) continue;
        for (std::uint64_t b = 0; b < 2; ++b) {
            const std::uint64_t step = p.steps == 0 ? bar : kTicks / p.steps;
            for (std::uint64_t at = 0; at < bar; at += step) {
                const std::size_t notes = density == Density::Sparse ? 1 : p.notes.size();
                for (std::size_t n = 0; n < notes; ++n) {
                    const int velocity = density == Density::Loudest ? 127
                                         : density == Density::Dense ? pick(p.low, p.high)
                                                                     : pick(60, 90);
                    events.push_back({bar + b * bar + at, {0x90 | p.channel, p.notes[n], velocity}});
                    events.push_back({bar + b * bar + at + step - 20, {0x90 | p.channel, p.notes[n], 0}});
                }
            }
        }
    }
    std::stable_sort(events.begin(), events.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    t.marker(static_cast<std::uint32_t>(bar), "Main A");
    std::uint64_t now = bar;
    for (const auto& [tick, m] : events) {
        t.channelMessage(static_cast<std::uint32_t>(tick - now), m[0], m[1], m[2]);
        now = tick;
    }
    t.endOfTrack(0);
    return file.writeTo(path);
}

struct Figures {
    double lufs = 0.0, range = 0.0, samplePeakDb = 0.0, truePeakDb = 0.0;
};

double db(double linear) {
    return 20.0 * std::log10(std::max(linear, 1e-10));
}

bool play(const std::filesystem::path& style, FluidSynthPort::Options options, int masterVolume, double seconds,
          Figures& f) {
    ManualClock clock;
    QueueDispatcher ui;
    OfflineSynthProvider provider(kRate, std::move(options));
    MIDIOutput out(provider, ui, clock, MIDIOutput::Drive::Manual);
    Midifile reader;
    StyleData styleData;
    Language language;
    language.table.SetTheLangsQuery();
    language.LangNo = kLangEnglish;
    QuietDialogs dialogs;
    ManualTimer timer1(250), timer2(55, true), timer3(250);
    Player player(reader, out, styleData, language, dialogs, timer1, timer2, timer3);
    player.Form_Load();
    out.PortNumber(-1);
    out.PortCommand(MIDIOutput::OpenPort);
    if (!out.PortIsOpen() || !provider.last) return false;
    player.LoadFile(style.string());
    if (!player.state().Cmd_Play.enabled) return false;
    player.Scr_Master_Change(masterVolume);

    // C, A minor, F, G7, a chord every two bars.
    const std::vector<RecognisedChord> chords = {
        {0, ChordType::Major}, {9, ChordType::Minor}, {5, ChordType::Major}, {7, ChordType::Seventh}};
    player.liveChord(chords[0]);
    std::size_t next = 1;
    OfflineRender renderer(provider.last->synth(), clock, 256);
    const double startMs = clock.nowMs();
    renderer.onPeriod([&](double nowMs) {
        if ((nowMs - startMs) / 1000.0 >= 4.0 * static_cast<double>(next)) player.liveChord(chords[next++ % 4]);
        out.pump();
        ui.drain();
    });
    player.Cmd_Play_Click();

    ebur128_state* meter =
        ebur128_init(2, static_cast<unsigned>(kRate),
                     EBUR128_MODE_I | EBUR128_MODE_LRA | EBUR128_MODE_SAMPLE_PEAK | EBUR128_MODE_TRUE_PEAK);
    if (!meter) return false;
    std::vector<float> left, right, frames;
    for (double done = 0.0; done < seconds; done += 1.0) {
        left.clear();
        right.clear();
        renderer.renderSeconds(1.0, left, right);
        frames.resize(2 * left.size());
        for (std::size_t i = 0; i < left.size(); ++i) {
            frames[2 * i] = left[i];
            frames[2 * i + 1] = right[i];
        }
        ebur128_add_frames_float(meter, frames.data(), left.size());
    }
    player.Cmd_Stop_Click();
    double sample = 0.0, truePeak = 0.0;
    for (unsigned ch = 0; ch < 2; ++ch) {
        double v = 0.0;
        if (ebur128_sample_peak(meter, ch, &v) == EBUR128_SUCCESS) sample = std::max(sample, v);
        if (ebur128_true_peak(meter, ch, &v) == EBUR128_SUCCESS) truePeak = std::max(truePeak, v);
    }
    ebur128_loudness_global(meter, &f.lufs);
    ebur128_loudness_range(meter, &f.range);
    f.samplePeakDb = db(sample);
    f.truePeakDb = db(truePeak);
    ebur128_destroy(&meter);
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
    if (!(seconds > 0.0)) return 2;
    test::TempDir dir;
    struct Case {
        const char* name;
        Density density;
        unsigned seed;
    };
    const Case cases[] = {{"sparse 1", Density::Sparse, 1}, {"sparse 2", Density::Sparse, 2},
                          {"dense 1", Density::Dense, 1},   {"dense 2", Density::Dense, 2},
                          {"dense 3", Density::Dense, 3},   {"dense 4", Density::Dense, 4},
                          {"loudest", Density::Loudest, 1}};
    FluidSynthPort::Options before;
    before.gain = kOldGain;
    before.limit = false;
    std::printf("%.0f s of Main A each; LUFS integrated, LU loudness range, dBFS sample and true peak (4x)\n", seconds);
    std::printf("%-9s | %-28s | %-28s | %s\n", "", "before: gain 0.28, no limiter", "after: master volume 100",
                "after: master volume 127");
    std::printf("%-9s |", "style");
    for (int i = 0; i < 3; ++i) std::printf(" %6s %5s %6s %6s |", "LUFS", "LRA", "sample", "true");
    std::printf("\n");
    for (const Case& c : cases) {
        const std::filesystem::path style = writeStyle(dir.path() / (std::string(c.name) + ".sty"), c.density, c.seed);
        Figures b, a, full;
        if (!play(style, before, midi::kDefaultMasterVolume, seconds, b) ||
            !play(style, {}, midi::kDefaultMasterVolume, seconds, a) || !play(style, {}, 127, seconds, full)) {
            std::fprintf(stderr, "The built-in synthesizer could not play %s (no SoundFont?).\n", c.name);
            return 1;
        }
        std::printf("%-9s |", c.name);
        for (const Figures* f : {&b, &a, &full})
            std::printf(" %6.1f %5.1f %6.1f %6.1f |", f->lufs, f->range, f->samplePeakDb, f->truePeakDb);
        std::printf("\n");
    }
    return 0;
}
