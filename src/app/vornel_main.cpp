// Vornel's console front end, until the player window takes over: lists the
// output devices, plays a two-bar phrase through the built-in synthesizer (or
// renders it to a WAV file with --render), and shows a style file's sections
// with --info.

#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>

#include "midi/file/Midifile.h"
#include "midi/output/MIDIOutput.h"
#include "midi/output/ports/SystemPortProvider.h"
#include "midi/output/synth/BuiltInSynth.h"
#include "midi/output/synth/OfflineRender.h"
#include "midi/output/synth/OfflineSynthPort.h"
#include "platform/Clock.h"
#include "platform/Dispatcher.h"

using namespace vornel;

namespace {

constexpr std::int32_t kEndCue = -3;

// Two bars of 4/4 at 120 bpm: C major then A minor on piano, a bass line and a
// drum groove, ending with a silent cue message whose report ends the demo.
void queuePhrase(MIDIOutput& out) {
    auto q = [&](double ms, int status, int d1, int d2, std::int32_t tag = 0) {
        out.StatusByte(status);
        out.DataByte1(d1);
        out.DataByte2(d2);
        out.CueTime(ms);
        out.CueTag(tag);
        out.PortCommand(MIDIOutput::QueueMessage);
    };
    q(0, 0xC0, 0, 0);  // piano
    q(0, 0xC1, 33, 0); // fingered bass
    for (int beat = 0; beat < 8; ++beat) {
        const double t = beat * 500.0;
        q(t, 0x99, beat % 4 == 0 ? 36 : 42, 100);
        q(t + 250, 0x99, 42, 70);
        if (beat % 2 == 1) q(t, 0x99, 38, 110);
        q(t, 0x91, beat % 2 ? 43 : 36, 100);
        q(t + 450, 0x81, beat % 2 ? 43 : 36, 0);
    }
    for (int note : {60, 64, 67}) {  // C major, then A minor
        q(0, 0x90, note, 90);
        q(1900, 0x80, note, 0);
    }
    for (int note : {57, 60, 64}) {
        q(2000, 0x90, note, 90);
        q(3900, 0x80, note, 0);
    }
    q(4000, 0x90, 36, 0, kEndCue);
}

int listAndPlay() {
    SteadyClock clock;
    QueueDispatcher ui;
    SystemPortProvider ports(BuiltInSynth::name(), [] { return BuiltInSynth::create(); });
    MIDIOutput out(ports, ui, clock);

    std::printf("Vornel 1.5 — console preview (the player window comes next)\n\nOutput devices:\n");
    const int n = out.PortCount();
    for (int d = -1; d < n; ++d) {
        out.PortNumber(d);
        std::printf("  %2d  %s\n", d, out.PortName().c_str());
    }
    out.PortNumber(-1);
    out.PortCommand(MIDIOutput::OpenPort);
    if (!out.PortIsOpen()) {
        std::printf("\nThe built-in synthesizer could not start: this machine has no audio output\n"
                    "(or no General MIDI SoundFont). It can still render to a file:\n"
                    "  build/src/app/vornel --render phrase.wav\n");
        return 0;
    }
    bool done = false;
    out.CueReached = [&](std::int32_t tag) { done = done || tag == kEndCue; };
    queuePhrase(out);
    out.PortCommand(MIDIOutput::StartQueue);
    std::printf("\nPlaying a two-bar phrase through the built-in synthesizer...\n");
    const auto giveUp = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!done && std::chrono::steady_clock::now() < giveUp) {
        ui.drain();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(800));  // let the last notes ring
    out.PortCommand(MIDIOutput::StopQueue);
    return 0;
}

// Plays the phrase through the output component into the built-in
// synthesizer on a manual clock and writes what it renders to a WAV file.
int render(const char* path) {
    ManualClock clock;
    QueueDispatcher ui;
    OfflineSynthProvider provider;
    MIDIOutput out(provider, ui, clock, MIDIOutput::Drive::Manual);
    out.PortNumber(-1);
    out.PortCommand(MIDIOutput::OpenPort);
    if (!out.PortIsOpen() || !provider.last) {
        std::fprintf(stderr, "The built-in synthesizer could not start: no General MIDI SoundFont found.\n");
        return 1;
    }
    queuePhrase(out);
    out.PortCommand(MIDIOutput::StartQueue);
    OfflineRender renderer(provider.last->synth(), clock, 256);
    renderer.onPeriod([&](double) {
        out.pump();
        ui.drain();
    });
    if (!renderer.renderToWav(5.0, path)) {
        std::fprintf(stderr, "Could not write %s\n", path);
        return 1;
    }
    std::printf("Rendered 5 s to %s\n", path);
    return 0;
}

int info(const char* path) {
    Midifile file;
    file.FileAction(5);
    file.FileName(path);
    file.FileAction(1);
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
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 3 && std::strcmp(argv[1], "--render") == 0) return render(argv[2]);
    if (argc == 3 && std::strcmp(argv[1], "--info") == 0) return info(argv[2]);
    if (argc != 1) {
        std::fprintf(stderr, "usage: vornel [--render FILE.wav | --info STYLE.sty]\n");
        return 2;
    }
    return listAndPlay();
}
