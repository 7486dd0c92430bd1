// Loading probe: how long does LoadFile take on a typical keyboard style?
//
// Builds a single-track style of about 75 KB with 15 sections (eight
// channels, a note per channel on every sixteenth), writes it to a temporary
// file and loads it N times through the real reader and the real output
// component (Drive::Manual, a recording port that keeps every set-up
// message). Prints the median and p90 of the whole LoadFile call in ms.
//
// The anchor is mido, a widely used MIDI file parser, reading the same file
// (parse only: timed inside Python with perf_counter, interpreter start-up
// excluded). Loading also scans the file twice per section and fills the
// part tables, so it may be a few times a bare parse and still be fine.
//
// The same load runs a second time with the reader the program really uses:
// the one in the Midifl32.hcm module, reached through its C entry point, so
// the cost of the module boundary shows beside the in-process reader.

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "components/ComponentLibrary.h"
#include "components/LoadedMidifile.h"
#include "style/StyleLoading.h"
#include "support/PlayerFixture.h"
#include "support/StyleLike.h"

using namespace vornel;

namespace {

constexpr int kRuns = 60;

struct Summary {
    double median, p90;
};

Summary summarize(std::vector<double> ms);

Summary timeLoads(test::PlayerFixture& f, PlayerState& state, const std::string& path) {
    std::vector<double> runs;
    runs.reserve(kRuns);
    for (int i = 0; i < kRuns; ++i) {
        f.clearSent();
        const auto t0 = std::chrono::steady_clock::now();
        LoadFile(state, path);
        const auto t1 = std::chrono::steady_clock::now();
        runs.push_back(std::chrono::duration<double, std::milli>(t1 - t0).count());
    }
    return summarize(runs);
}

Summary summarize(std::vector<double> ms) {
    std::sort(ms.begin(), ms.end());
    const auto at = [&](double q) { return ms[static_cast<std::size_t>(q * static_cast<double>(ms.size() - 1) + 0.5)]; };
    return {at(0.5), at(0.9)};
}

test::StyleOptions typicalStyle() {
    test::StyleOptions o;
    o.division = 1920;
    o.timeSigNum = 16;  // 16/16: a note per channel on every sixteenth
    o.timeSigDenExp = 4;
    o.channels = {8, 9, 10, 11, 12, 13, 14, 15};
    o.copyright = "(c) Vornel bench";
    o.sections.clear();
    const char* names[] = {"Intro A", "Intro B", "Intro C", "Intro D", "Main A", "Main B", "Main C", "Main D",
                           "Fill In AA", "Fill In BB", "Fill In CC", "Fill In DD", "Ending A", "Ending B", "Ending C"};
    for (const char* n : names) {
        const std::string name = n;
        const int bars = name.rfind("Main", 0) == 0 ? 8 : name.rfind("Fill", 0) == 0 ? 2 : name.rfind("End", 0) == 0 ? 5 : 4;
        o.sections.push_back({name, bars});
    }
    return o;
}

// The first python3 that imports mido: PATH may put one without it first.
std::string midoPython() {
    for (const char* candidate : {"python3", "/usr/bin/python3"}) {
        const std::string cmd = std::string(candidate) + " -c \"import mido\" >/dev/null 2>&1";
        if (std::system(cmd.c_str()) == 0) return candidate;
    }
    return {};
}

// Median of several parses inside one interpreter, in ms; negative on failure.
double midoMedianMs(const std::string& python, const std::string& path) {
    const std::string script =
        "import mido, statistics, sys, time\n"
        "runs = []\n"
        "for _ in range(15):\n"
        "    t = time.perf_counter(); mido.MidiFile(sys.argv[1]); runs.append(time.perf_counter() - t)\n"
        "print(statistics.median(runs) * 1000)\n";
    const std::string cmd = python + " -c '" + script + "' '" + path + "' 2>/dev/null";
    FILE* pipe = popen(cmd.c_str(), "r");
    if (!pipe) return -1;
    double ms = -1;
    if (std::fscanf(pipe, "%lf", &ms) != 1) ms = -1;
    pclose(pipe);
    return ms;
}

}  // namespace

int main() {
    test::PlayerFixture f;
    test::StyleLayout layout;
    const std::string path = f.writeFile(test::styleLike(typicalStyle(), &layout), "bench.sty");
    const auto bytes = std::filesystem::file_size(path);

    const Summary ours = timeLoads(f, f.state, path);
    int loadedEvents = 0;
    for (int p = 1; p <= kPartCount; ++p) loadedEvents += f.style.PartEvCount(p);

    std::printf("style: %ju bytes, %d events in one track, %zu sections; %d events stored, %zu messages sent per load\n",
                static_cast<std::uintmax_t>(bytes), layout.trackEvents, layout.sections.size(), loadedEvents,
                f.sent().size());
    std::printf("%-34s %10s %10s\n", "", "median ms", "p90 ms");
    std::printf("%-34s %10.3f %10.3f\n", "LoadFile (Vornel), 60 runs", ours.median, ours.p90);

    const ComponentLibrary module = ComponentLibrary::load(VORNEL_PROGRAM_DIR "/Midifl32.hcm", "Midifl32");
    const auto moduleReader = module.loaded() ? LoadedMidifile::create(*module.api(), f.ui) : nullptr;
    if (!moduleReader) {
        std::printf("%-34s skipped: %s\n", "LoadFile, reader in the module", module.error().c_str());
    } else {
        PlayerState state{*moduleReader, f.output, f.style, f.language, f.dialogs, f.timer1, f.timer2, f.timer3};
        const Summary viaModule = timeLoads(f, state, path);
        std::printf("%-34s %10.3f %10.3f\n", "LoadFile, reader in Midifl32.hcm", viaModule.median, viaModule.p90);
    }

    const std::string python = midoPython();
    if (python.empty()) {
        std::printf("%-34s skipped: no python3 here can import mido\n", "mido.MidiFile parse (anchor)");
        return 0;
    }
    const double anchor = midoMedianMs(python, path);
    if (anchor < 0)
        std::printf("%-34s skipped: %s could not parse the file with mido\n", "mido.MidiFile parse (anchor)", python.c_str());
    else
        std::printf("%-34s %10.3f %10s\n", "mido.MidiFile parse (anchor)", anchor, "-");
    return 0;
}
