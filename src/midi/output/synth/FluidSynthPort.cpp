#include "midi/output/synth/FluidSynthPort.h"

#include <fluidsynth.h>

#include <algorithm>
#include <cmath>

#include "midi/MasterVolume.h"
#include "midi/output/synth/AudioDrivers.h"
#include "midi/output/synth/BlockScheduler.h"
#include "midi/output/synth/FluidLog.h"
#include "midi/output/synth/FluidSink.h"
#include "midi/output/synth/SoundFontLocator.h"
#include "midi/output/synth/SoundFontPresets.h"

namespace vornel {

struct FluidSynthPort::Fluid {
    // The driver has settings of its own, made afresh at each opening as the
    // driver may rewrite them (JACK imposes its sample rate); the synthesizer
    // keeps the settings it was made with, which hold its callbacks.
    fluid_settings_t* driverSettings = nullptr;
    fluid_audio_driver_t* driver = nullptr;
    fluid_settings_t* synthSettings = nullptr;
    // Owned from creation to the destructor (or a rebuild), open or kept.
    fluid_synth_t* owned = nullptr;
    // What the audio callback plays: `owned` once fully set up, null while
    // closed. The callback reaches the synthesizer only through this pointer,
    // so it never sees one being built, reset or freed.
    std::atomic<fluid_synth_t*> live{nullptr};
    // The voice map of the owned synthesizer's SoundFont and its channels'
    // bank selects: the audio callback's while published, else the UI thread's.
    FluidSink::State sink;
};

namespace {

constexpr double kMinSampleRate = 8000.0;
constexpr double kMaxSampleRate = 96000.0;
// Below what a 24-bit converter resolves; FluidSynth's reverb keeps a small
// offset against denormals (about 1e-8) even in silence.
constexpr float kSilence = 1e-6f;
// Longer than the reverb's longest delay line: a quieter stretch is the end.
constexpr double kQuietSeconds = 0.25;
// A bound, whatever the reverb does: at most some tens of milliseconds of work.
constexpr double kMaxRunOutSeconds = 3.0;

// Renders `frames` (at most one block) into scratch buffers; returns the peak.
float renderUnheard(fluid_synth_t* synth, int frames) {
    constexpr int kBlock = BlockScheduler::kBlockFrames;
    float left[kBlock] = {};
    float right[kBlock] = {};
    float* out[2] = {left, right};
    float* fx[4] = {left, right, left, right};
    fluid_synth_process(synth, frames, 4, fx, 2, out);
    float peak = 0.0f;
    for (int i = 0; i < frames; ++i) peak = std::max({peak, std::fabs(left[i]), std::fabs(right[i])});
    return peak;
}

// FluidSynth clears its reverb on a reset, but not all of it: what is left
// (around -70 dBFS) comes back every few tens of milliseconds for most of a
// second. Rendering it out here, with no voice left, costs a few milliseconds
// of a closed port's time instead of being heard under the next style.
void runOutReverb(fluid_synth_t* synth, double sampleRate) {
    constexpr int kBlock = BlockScheduler::kBlockFrames;
    const long quietBlocks = std::lround(std::ceil(kQuietSeconds * sampleRate / kBlock));
    const long maxBlocks = std::lround(std::ceil(kMaxRunOutSeconds * sampleRate / kBlock));
    long quiet = 0;
    for (long i = 0; i < maxBlocks && quiet < quietBlocks; ++i)
        quiet = renderUnheard(synth, kBlock) < kSilence ? quiet + 1 : 0;
}

// Takes the Master Volume messages for the limiter's input gain (FluidSynth
// ignores them) and hands everything else on. Audio thread: no lock, no
// allocation.
class MasterVolumeSink final : public MessageSink {
public:
    MasterVolumeSink(MessageSink& next, Limiter& limiter) : next_(next), limiter_(limiter) {}

    void apply(const SynthMessage& m) override {
        const int value =
            m.kind == SynthMessage::Kind::SysEx ? midi::masterVolumeValue(m.sysex.data(), m.sysexLength) : -1;
        if (value >= 0)
            limiter_.setInputGain(static_cast<float>(midi::masterVolumeGain(value)));
        else
            next_.apply(m);
    }

private:
    MessageSink& next_;
    Limiter& limiter_;
};

fluid_settings_t* makeSettings(double gain) {
    fluid_settings_t* s = new_fluid_settings();
    if (!s) return nullptr;
    // Every call into the synthesizer is made on the audio thread, so its API
    // needs no mutex, and the callback never waits for one.
    fluid_settings_setint(s, "synth.threadsafe-api", 0);
    // Yamaha style files select their drum kits with bank-select MSB 127 on
    // whatever channel carries drums. In "xg" mode FluidSynth makes a channel a
    // drum channel when it receives MSB >= 120 (bank 128 of the SoundFont, where
    // GM SoundFonts keep their kits). In "gs" mode (the default) MSB 127 would
    // ask for melodic bank 127, which a GM SoundFont lacks, and FluidSynth would
    // fall back to a piano. FluidSink keeps the mode against the set-up
    // messages that would change it, and channel 10 a drum channel.
    fluid_settings_setstr(s, "synth.midi-bank-select", "xg");
    fluid_settings_setnum(s, "synth.gain", gain);
    return s;
}

std::vector<std::string> availableDrivers(fluid_settings_t* s) {
    std::vector<std::string> names;
    fluid_settings_foreach_option(s, "audio.driver", &names, [](void* data, const char* /*name*/, const char* option) {
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
    : options_(std::move(options)), scheduler_(std::make_unique<BlockScheduler>()), fluid_(std::make_unique<Fluid>()) {
    FluidLog::install();
    limiter_.setInputGain(static_cast<float>(midi::masterVolumeGain(midi::kDefaultMasterVolume << 7)));
    limiter_.reset(44100.0);
}

FluidSynthPort::~FluidSynthPort() {
    // As close(), without quieting a synthesizer that is freed next.
    open_.store(false, std::memory_order_release);
    stopDriver();
    fluid_->live.store(nullptr, std::memory_order_release);
    freeSynth();
}

std::string FluidSynthPort::wantedSoundFont() const {
    if (!options_.soundFontPath.empty()) return options_.soundFontPath;
    return SoundFontLocator::findDefault().string();
}

std::string FluidSynthPort::soundFontPath() const {
    if (isOpen()) return loadedSoundFont_;
    return wantedSoundFont();
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
    const int period = std::max(configuredPeriod_.load(std::memory_order_relaxed), scheduler_->largestPeriod());
    return 2.0 * period * 1000.0 / sampleRate() + kSchedulingSlackMs;
}

bool FluidSynthPort::takeSynth(const std::string& soundFont, double rate) {
    if (soundFont.empty()) return false;
    // Same file and rate: the kept synthesizer is as good as a new one, without
    // the wait for the SoundFont. Anything else needs a new one, and the old
    // one goes first so that two SoundFonts are never in memory at once.
    const bool reusable = fluid_->owned && soundFont == loadedSoundFont_ && rate == synthRate_;
    if (!reusable) {
        freeSynth();
        if (!createSynth(soundFont, rate)) return false;
    }
    publishSynth();
    return true;
}

bool FluidSynthPort::createSynth(const std::string& soundFont, double rate) {
    fluid_settings_t* settings = makeSettings(options_.gain);
    if (!settings) return false;
    fluid_synth_t* synth = nullptr;
    if (fluid_settings_setnum(settings, "synth.sample-rate", rate) == FLUID_OK) synth = new_fluid_synth(settings);
    if (!synth) {
        delete_fluid_settings(settings);
        return false;
    }
    const int soundFontId = fluid_synth_sfload(synth, soundFont.c_str(), 1);
    if (soundFontId == FLUID_FAILED) {
        delete_fluid_synth(synth);
        delete_fluid_settings(settings);
        return false;
    }
    // Built here, not on the audio thread, which only looks it up.
    fluid_->sink.voices = VoiceMap(SoundFontPresets::of(synth, soundFontId));
    fluid_->sink.soundFont = soundFontId;
    fluid_->sink.reset();
    FluidSink(synth, fluid_->sink).selectAll();
    ++soundFontLoads_;
    fluid_->synthSettings = settings;
    fluid_->owned = synth;
    loadedSoundFont_ = soundFont;
    synthRate_ = rate;
    return true;
}

void FluidSynthPort::publishSynth() {
    // The callback touches neither the scheduler nor the frame count before a
    // synthesizer is published, so they can be reset here even with the audio
    // driver already running.
    scheduler_->restart();
    scheduler_->setSampleRate(synthRate_);
    framesRendered_ = 0;
    limiter_.reset(synthRate_);
    fluid_->live.store(fluid_->owned, std::memory_order_release);
}

void FluidSynthPort::keepSynth() {
    fluid_synth_t* synth = fluid_->live.exchange(nullptr, std::memory_order_acq_rel);
    if (!synth) return;
    // Frame 0 of the next opening must fall on one of FluidSynth's block
    // boundaries (see renderPeriod), and FluidSynth cannot be told to drop the
    // rest of a block it has rendered: play it out, unheard.
    constexpr int kBlock = BlockScheduler::kBlockFrames;
    const int rest = static_cast<int>((kBlock - framesRendered_ % kBlock) % kBlock);
    if (rest > 0) renderUnheard(synth, rest);

    // Every channel back to its power-on program, bank and controllers, channel
    // 10 the only drum channel again; the bank-select mode is a setting and
    // stays. The voices are cut rather than released, or the run-out below
    // would render every release to its end; and cut after the reset, not
    // before: FluidSynth 2.3's reset brings back voices cut but not yet
    // rendered to their end.
    fluid_synth_system_reset(synth);
    fluid_->sink.reset();
    FluidSink(synth, fluid_->sink).selectAll();
    fluid_synth_all_sounds_off(synth, -1);
    runOutReverb(synth, synthRate_);
}

void FluidSynthPort::freeSynth() {
    // Never published while this runs: close() or a rebuild took it back.
    if (fluid_->owned) delete_fluid_synth(fluid_->owned);
    fluid_->owned = nullptr;
    fluid_->sink = FluidSink::State{};
    if (fluid_->synthSettings) delete_fluid_settings(fluid_->synthSettings);
    fluid_->synthSettings = nullptr;
    loadedSoundFont_.clear();
    synthRate_ = 0.0;
}

void FluidSynthPort::stopDriver() {
    // Deleting the driver joins the audio thread: no callback runs afterwards.
    if (fluid_->driver) delete_fluid_audio_driver(fluid_->driver);
    fluid_->driver = nullptr;
    if (fluid_->driverSettings) delete_fluid_settings(fluid_->driverSettings);
    fluid_->driverSettings = nullptr;
    driverName_.clear();
}

bool FluidSynthPort::open() {
    if (mode_ != Mode::Closed) return true;
    const std::string soundFont = wantedSoundFont();
    if (soundFont.empty()) return false;
    fluid_->driverSettings = makeSettings(options_.gain);
    if (!fluid_->driverSettings) return false;
    fluid_settings_t* settings = fluid_->driverSettings;
    int period = 64;
    fluid_settings_getint(settings, "audio.period-size", &period);
    configuredPeriod_.store(period, std::memory_order_relaxed);

    const std::vector<std::string> drivers =
        !options_.audioDrivers.empty() ? options_.audioDrivers
                                       : AudioDrivers::choose(availableDrivers(settings), defaultDriver(settings),
                                                              AudioDrivers::alsaDevicesPresent());
    // The driver starts before the synthesizer is chosen: some drivers (JACK)
    // impose their own sample rate by rewriting synth.sample-rate, and the
    // synthesizer must run at that rate. Until one is published the callback
    // renders silence.
    for (const std::string& name : drivers) {
        if (fluid_settings_setstr(settings, "audio.driver", name.c_str()) != FLUID_OK) continue;
        fluid_->driver = new_fluid_audio_driver2(settings, &audioCallback, this);
        if (fluid_->driver) {
            driverName_ = name;
            break;
        }
    }
    double rate = 44100.0;
    fluid_settings_getnum(settings, "synth.sample-rate", &rate);
    // A device that will not start leaves the kept synthesizer as it was, for
    // the next attempt.
    if (!fluid_->driver || !takeSynth(soundFont, rate)) {
        stopDriver();
        return false;
    }
    mode_ = Mode::RealTime;
    open_.store(true, std::memory_order_release);
    return true;
}

bool FluidSynthPort::openOffline(double sampleRate) {
    if (mode_ != Mode::Closed) return mode_ == Mode::Offline;
    if (!(sampleRate >= kMinSampleRate && sampleRate <= kMaxSampleRate)) return false;
    if (!takeSynth(wantedSoundFont(), sampleRate)) return false;
    int period = 64;
    fluid_settings_getint(fluid_->synthSettings, "audio.period-size", &period);
    configuredPeriod_.store(period, std::memory_order_relaxed);
    mode_ = Mode::Offline;
    open_.store(true, std::memory_order_release);
    return true;
}

void FluidSynthPort::close() {
    open_.store(false, std::memory_order_release);
    stopDriver();
    keepSynth();
    mode_ = Mode::Closed;
}

void FluidSynthPort::send(const MidiMessage& m) {
    SynthMessage s;
    if (!isOpen() || !SynthMessage::encode(m, s) || !scheduler_->pushImmediate(s))
        dropped_.fetch_add(1, std::memory_order_relaxed);
}

void FluidSynthPort::sendLive(const MidiMessage& m) {
    SynthMessage s;
    if (!isOpen() || !SynthMessage::encode(m, s) || !scheduler_->pushLive(s))
        dropped_.fetch_add(1, std::memory_order_relaxed);
}

std::uint64_t FluidSynthPort::liveApplied() const {
    return scheduler_->liveApplied();
}

bool FluidSynthPort::schedule(const MidiMessage& m, double dueQueueMs, const TimedTag& tag) {
    if (!isOpen() || !scheduler_->attached() || !std::isfinite(dueQueueMs)) return false;
    ScheduledItem item;
    item.dueQueueMs = dueQueueMs;
    item.tag = tag;
    if (!SynthMessage::encode(m, item.message)) dropped_.fetch_add(1, std::memory_order_relaxed);
    return scheduler_->pushScheduled(item);
}

bool FluidSynthPort::withdraw(double fromQueueMs, std::uint64_t beforeSerial, std::uint32_t generation) {
    if (!isOpen() || !scheduler_->attached() || std::isnan(fromQueueMs)) return false;
    return scheduler_->pushWithdraw(fromQueueMs, beforeSerial, generation);
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

std::optional<FluidSynthPort::ChannelPreset> FluidSynthPort::channelPreset(int channel) const {
    if (mode_ != Mode::Offline) return std::nullopt;
    fluid_preset_t* preset = fluid_synth_get_channel_preset(fluid_->owned, channel);
    if (!preset) return std::nullopt;
    return ChannelPreset{fluid_preset_get_banknum(preset), fluid_preset_get_num(preset)};
}

void FluidSynthPort::render(float* left, float* right, int frames) {
    if (!left || !right || frames <= 0) return;
    std::fill(left, left + frames, 0.0f);
    std::fill(right, right + frames, 0.0f);
    if (mode_ != Mode::Offline) return;
    float* out[2] = {left, right};
    renderPeriod(frames, 0, nullptr, 2, out);
}

int FluidSynthPort::audioCallback(void* data, int len, int nfx, float* fx[], int nout, float* out[]) {
    return static_cast<FluidSynthPort*>(data)->renderPeriod(len, nfx, fx, nout, out);
}

int FluidSynthPort::renderPeriod(int len, int nfx, float* fx[], int nout, float* out[]) {
    fluid_synth_t* synth = fluid_->live.load(std::memory_order_acquire);
    // The driver hands zeroed buffers: silence needs no work.
    if (!synth || len <= 0 || nout < 2 || !out) return FLUID_OK;

    // Our synth has one stereo output and one effects group (reverb and chorus,
    // each stereo). Drivers without effects buffers get the effects mixed into
    // the dry output, and so does every driver when limiting: the limiter must
    // see all that is heard.
    float* mixed[4] = {out[0], out[1], out[0], out[1]};
    float** fxSource = (nfx >= 4 && fx && !options_.limit) ? fx : mixed;
    constexpr int kOut = 2;
    constexpr int kFx = 4;

    scheduler_->beginPeriod(framesRendered_, len);
    FluidSink fluidSink(synth, fluid_->sink);
    MasterVolumeSink volumeSink(fluidSink, limiter_);
    MessageSink& sink = options_.limit ? static_cast<MessageSink&>(volumeSink) : fluidSink;
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
        // Chunk by chunk, so that a volume change ramps from the block it was
        // applied before.
        if (options_.limit) limiter_.process(outAt[0], outAt[1], n);
        pos += n;
        framesRendered_ += n;
    }
    return FLUID_OK;
}

}  // namespace vornel
