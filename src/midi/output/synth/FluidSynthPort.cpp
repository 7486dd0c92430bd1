#include "midi/output/synth/FluidSynthPort.h"

#include "midi/output/synth/FluidChannelMessage.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>

#include "midi/output/synth/AudioDrivers.h"
#include "midi/output/synth/BlockScheduler.h"
#include "midi/output/synth/FluidLog.h"
#include "midi/output/synth/MessageSink.h"
#include "midi/output/synth/SoundFontLocator.h"

namespace vornel {

struct FluidSynthPort::Fluid {
    fluid_settings_t* settings = nullptr;
    fluid_audio_driver_t* driver = nullptr;
    // Published to the audio thread only once it is fully set up; until then
    // the callback renders silence and touches nothing else.
    std::atomic<fluid_synth_t*> synth{nullptr};
};

namespace {

constexpr double kMinSampleRate = 8000.0;
constexpr double kMaxSampleRate = 96000.0;

// Hands a block's messages to FluidSynth. Runs on the audio thread.
class FluidSink final : public MessageSink {
public:
    explicit FluidSink(fluid_synth_t* synth) : synth_(synth) {}

    void apply(const SynthMessage& m) override {
        if (m.kind == SynthMessage::Kind::SysEx) {
            // FluidSynth takes the data without F0 and F7, as stored. Of what it
            // understands, only a MIDI Tuning Standard dump allocates (a new
            // tuning table); style files carry mode and part messages instead.
            fluid_synth_sysex(synth_, m.sysex.data(), m.sysexLength, nullptr, nullptr, nullptr, 0);
            return;
        }
        if (m.kind != SynthMessage::Kind::Channel) return;
        applyChannelMessage(synth_, m.status, m.data1, m.data2);
    }

private:
    fluid_synth_t* synth_;
};

fluid_settings_t* makeSettings() {
    fluid_settings_t* s = new_fluid_settings();
    if (!s) return nullptr;
    // Every call into the synthesizer is made on the audio thread, so its API
    // needs no mutex, and the callback never waits for one.
    fluid_settings_setint(s, "synth.threadsafe-api", 0);
    // Yamaha style files select their drum kits with bank-select MSB 127 on
    // whatever channel carries drums. In "xg" mode FluidSynth makes a channel a
    // drum channel when it receives MSB >= 120 (bank 128 of the SoundFont, where
    // GM SoundFonts keep their kits) and keeps channel 10 a drum channel. In
    // "gs" mode (the default) MSB 127 would ask for melodic bank 127, which a GM
    // SoundFont lacks, and FluidSynth would fall back to a piano.
    fluid_settings_setstr(s, "synth.midi-bank-select", "xg");
    return s;
}

std::vector<std::string> availableDrivers(fluid_settings_t* s) {
    std::vector<std::string> names;
    fluid_settings_foreach_option(
        s, "audio.driver", &names, [](void* data, const char* /*name*/, const char* option) {
            static_cast<std::vector<std::string>*>(data)->push_back(option);
        });
    return names;
}

std::string defaultDriver(fluid_settings_t* s) {
    char* value = nullptr;
    std::string name;
    if (fluid_settings_dupstr(s, "audio.driver", &value) == FLUID_OK && value) name = value;
    fluid_free(value);
    return name;
}

}  // namespace

FluidSynthPort::FluidSynthPort() : FluidSynthPort(Options{}) {}

FluidSynthPort::FluidSynthPort(Options options)
    : options_(std::move(options)),
      scheduler_(std::make_unique<BlockScheduler>()),
      fluid_(std::make_unique<Fluid>()) {
    FluidLog::install();
}

FluidSynthPort::~FluidSynthPort() {
    close();
}

std::string FluidSynthPort::soundFontPath() const {
    if (!loadedSoundFont_.empty()) return loadedSoundFont_;
    if (!options_.soundFontPath.empty()) return options_.soundFontPath;
    return SoundFontLocator::findDefault().string();
}

bool FluidSynthPort::isOpen() const {
    return open_.load(std::memory_order_acquire);
}

double FluidSynthPort::sampleRate() const {
    return scheduler_->sampleRate();
}

void FluidSynthPort::attach(const QueueTimeline* timeline, const Clock* clock) {
    scheduler_->attach(timeline, clock);
}

double FluidSynthPort::leadMs() const {
    // One period may be rendering while the message is handed over, and the
    // frame clock may run up to one more period ahead of the system clock before
    // it re-anchors: two periods, plus the scheduling thread's lateness.
    const int period =
        std::max(configuredPeriod_.load(std::memory_order_relaxed), scheduler_->largestPeriod());
    return 2.0 * period * 1000.0 / sampleRate() + kSchedulingSlackMs;
}

bool FluidSynthPort::createSynth(const std::string& soundFont) {
    double rate = 44100.0;
    fluid_settings_getnum(fluid_->settings, "synth.sample-rate", &rate);
    fluid_synth_t* synth = new_fluid_synth(fluid_->settings);
    if (!synth) return false;
    if (soundFont.empty() || fluid_synth_sfload(synth, soundFont.c_str(), 1) == FLUID_FAILED) {
        delete_fluid_synth(synth);
        return false;
    }
    loadedSoundFont_ = soundFont;
    // No audio thread reads the scheduler before the synth is published.
    scheduler_->restart();
    scheduler_->setSampleRate(rate);
    framesRendered_ = 0;
    fluid_->synth.store(synth, std::memory_order_release);
    return true;
}

bool FluidSynthPort::open() {
    if (mode_ != Mode::Closed) return true;
    const std::string soundFont = soundFontPath();
    if (soundFont.empty()) return false;
    fluid_->settings = makeSettings();
    if (!fluid_->settings) return false;
    int period = 64;
    fluid_settings_getint(fluid_->settings, "audio.period-size", &period);
    configuredPeriod_.store(period, std::memory_order_relaxed);

    const std::vector<std::string> drivers =
        !options_.audioDrivers.empty() ? options_.audioDrivers
                                       : AudioDrivers::choose(availableDrivers(fluid_->settings),
                                                              defaultDriver(fluid_->settings),
                                                              AudioDrivers::alsaDevicesPresent());
    // The driver starts before the synth exists: some drivers (JACK) impose
    // their own sample rate by rewriting synth.sample-rate, and the synth is
    // then created at that rate. Until it is published the callback renders
    // silence.
    for (const std::string& name : drivers) {
        if (fluid_settings_setstr(fluid_->settings, "audio.driver", name.c_str()) != FLUID_OK)
            continue;
        fluid_->driver = new_fluid_audio_driver2(fluid_->settings, &audioCallback, this);
        if (fluid_->driver) {
            driverName_ = name;
            break;
        }
    }
    if (!fluid_->driver || !createSynth(soundFont)) {
        release();
        return false;
    }
    mode_ = Mode::RealTime;
    open_.store(true, std::memory_order_release);
    return true;
}

bool FluidSynthPort::openOffline(double sampleRate) {
    if (mode_ != Mode::Closed) return mode_ == Mode::Offline;
    if (!(sampleRate >= kMinSampleRate && sampleRate <= kMaxSampleRate)) return false;
    fluid_->settings = makeSettings();
    if (!fluid_->settings) return false;
    fluid_settings_setnum(fluid_->settings, "synth.sample-rate", sampleRate);
    int period = 64;
    fluid_settings_getint(fluid_->settings, "audio.period-size", &period);
    configuredPeriod_.store(period, std::memory_order_relaxed);
    if (!createSynth(soundFontPath())) {
        release();
        return false;
    }
    mode_ = Mode::Offline;
    open_.store(true, std::memory_order_release);
    return true;
}

void FluidSynthPort::close() {
    open_.store(false, std::memory_order_release);
    release();
    mode_ = Mode::Closed;
}

void FluidSynthPort::release() {
    // The driver goes first: deleting it joins the audio thread, so no callback
    // can be inside the synth when the synth is freed.
    if (fluid_->driver) delete_fluid_audio_driver(fluid_->driver);
    fluid_->driver = nullptr;
    if (fluid_synth_t* synth = fluid_->synth.exchange(nullptr, std::memory_order_acq_rel))
        delete_fluid_synth(synth);
    if (fluid_->settings) delete_fluid_settings(fluid_->settings);
    fluid_->settings = nullptr;
    driverName_.clear();
    loadedSoundFont_.clear();
}

void FluidSynthPort::send(const MidiMessage& m) {
    SynthMessage s;
    if (!isOpen() || !SynthMessage::encode(m, s) || !scheduler_->pushImmediate(s))
        dropped_.fetch_add(1, std::memory_order_relaxed);
}

bool FluidSynthPort::schedule(const MidiMessage& m, double dueQueueMs, const TimedTag& tag) {
    if (!isOpen() || !scheduler_->attached() || !std::isfinite(dueQueueMs)) return false;
    ScheduledItem item;
    item.dueQueueMs = dueQueueMs;
    item.tag = tag;
    if (!SynthMessage::encode(m, item.message)) dropped_.fetch_add(1, std::memory_order_relaxed);
    return scheduler_->pushScheduled(item);
}

std::size_t FluidSynthPort::takeApplied(TimedTag* out, std::size_t max) {
    AppliedEvent chunk[64];
    std::size_t n = 0;
    while (n < max) {
        const std::size_t got = scheduler_->takeApplied(chunk, std::min<std::size_t>(64, max - n));
        for (std::size_t i = 0; i < got; ++i) out[n + i] = chunk[i].tag;
        n += got;
        if (got == 0) break;
    }
    return n;
}

std::size_t FluidSynthPort::takeAppliedAt(AppliedEvent* out, std::size_t max) {
    return scheduler_->takeApplied(out, max);
}

void FluidSynthPort::render(float* left, float* right, int frames) {
    if (!left || !right || frames <= 0) return;
    std::fill(left, left + frames, 0.0f);
    std::fill(right, right + frames, 0.0f);
    if (mode_ != Mode::Offline) return;
    float* out[2] = {left, right};
    renderPeriod(frames, 0, nullptr, 2, out);
}

int FluidSynthPort::audioCallback(void* data, int len, int nfx, float* fx[], int nout,
                                  float* out[]) {
    return static_cast<FluidSynthPort*>(data)->renderPeriod(len, nfx, fx, nout, out);
}

int FluidSynthPort::renderPeriod(int len, int nfx, float* fx[], int nout, float* out[]) {
    fluid_synth_t* synth = fluid_->synth.load(std::memory_order_acquire);
    // The driver hands zeroed buffers: silence needs no work.
    if (!synth || len <= 0 || nout < 2 || !out) return FLUID_OK;

    // Our synth has one stereo output and one effects group (reverb and chorus,
    // each stereo). Drivers without effects buffers get the effects mixed into
    // the dry output.
    float* mixed[4] = {out[0], out[1], out[0], out[1]};
    float** fxSource = (nfx >= 4 && fx) ? fx : mixed;
    constexpr int kOut = 2;
    constexpr int kFx = 4;

    scheduler_->beginPeriod(framesRendered_, len);
    FluidSink sink(synth);
    float* outAt[kOut];
    float* fxAt[kFx];
    int pos = 0;
    while (pos < len) {
        // Chunks end on FluidSynth's own block boundaries (multiples of 64
        // frames since the synth was created), so that what is applied before a
        // chunk starting on a boundary takes effect exactly there.
        const int offset = static_cast<int>(framesRendered_ % BlockScheduler::kBlockFrames);
        if (offset == 0) scheduler_->beforeBlock(framesRendered_, sink);
        const int n = std::min(len - pos, BlockScheduler::kBlockFrames - offset);
        for (int i = 0; i < kOut; ++i) outAt[i] = out[i] + pos;
        for (int i = 0; i < kFx; ++i) fxAt[i] = fxSource[i] + pos;
        fluid_synth_process(synth, n, kFx, fxAt, kOut, outAt);
        pos += n;
        framesRendered_ += n;
    }
    return FLUID_OK;
}

}  // namespace vornel
