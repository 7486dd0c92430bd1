#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "midi/output/MidiPort.h"
#include "midi/output/synth/Limiter.h"
#include "midi/output/synth/ScheduledItem.h"

namespace vornel {

class BlockScheduler;

// The built-in synthesizer: FluidSynth with a General MIDI SoundFont, driven
// from our own audio callback.
//
// The callback renders in FluidSynth's 64-frame blocks and, before each block,
// applies the messages sent at once and then the queued messages due in that
// block, so a queued message lands within half a block of its frame whatever
// the audio period. Every call into FluidSynth happens on the audio thread
// (synth.threadsafe-api is off, so the callback takes no lock); other threads
// only push into lock-free rings.
//
// Closing keeps the synthesizer with its SoundFont loaded and only stops the
// audio: a style load closes and reopens the port on the UI thread, and
// reloading a large SoundFont there would freeze the window. Reopening with
// the same SoundFont at the same sample rate takes the kept synthesizer back,
// silenced and reset to its defaults.
//
// Threads: open/close/send/attach on the UI thread (send also on the
// scheduling thread, never both at once); schedule/takeApplied on the
// scheduling thread, withdraw under the same lock as schedule; the offline calls on one thread of the caller's choice,
// which then plays the audio thread's part.
class FluidSynthPort final : public TimedPort {
public:
    // Set by measurement (bench/loudness, 20 s of Main A each): generated
    // dense styles, at -20.6..-18.6 LUFS with the old gain of 0.28, play at
    // -16.9..-14.9 LUFS with this one and the default master volume (the level
    // of released music), their true peaks at -3.5..-2.0 dBFS, so the limiter
    // rests; it holds the peaks at -1.3 dBFS from master volume 127 or in the
    // loudest case (every channel at velocity and volume 127).
    static constexpr double kSynthGain = 0.7;

    struct Options {
        // The SoundFont to play; empty: SoundFontLocator::findDefault().
        std::string soundFontPath;
        // FluidSynth audio drivers to try, in order; empty: AudioDrivers::choose().
        std::vector<std::string> audioDrivers;
        // FluidSynth's own gain, in front of the master volume and the limiter.
        double gain = kSynthGain;
        // False: FluidSynth's output as it renders it, without the master volume
        // and the limiter; for comparing levels, not for playing.
        bool limit = true;
    };

    FluidSynthPort();
    explicit FluidSynthPort(Options options);
    ~FluidSynthPort() override;
    FluidSynthPort(const FluidSynthPort&) = delete;
    FluidSynthPort& operator=(const FluidSynthPort&) = delete;

    // False, quietly, when no SoundFont can be loaded or no audio driver can be
    // started (a machine without sound hardware). True at once when open.
    // Reuses the synthesizer kept by close() when the SoundFont is the same and
    // the audio driver runs at its sample rate; otherwise builds a new one.
    bool open() override;
    // Stops the audio thread and keeps the synthesizer, every voice cut and
    // every channel back to its defaults, for the next opening. Harmless when
    // closed. The destructor frees it.
    void close() override;
    bool isOpen() const override;
    // Applied before the next block. Dropped (and counted) when the port is
    // closed, the message cannot be played or the ring is full; never waits.
    void send(const MidiMessage& m) override;
    // Applied one audio period after now, to the nearest block
    // (BlockScheduler::pushLive). Dropped (and counted) as send() drops.
    void sendLive(const MidiMessage& m) override;
    std::uint64_t liveApplied() const;

    void attach(const QueueTimeline* timeline, const Clock* clock) override;
    // Two audio periods plus slack: see kSchedulingSlackMs.
    double leadMs() const override;
    // False when closed, not attached, the due time is not finite or the ring
    // is full. A message the synthesizer cannot play (a system-exclusive
    // message over 256 bytes) is still taken, as a silent carrier, so that its
    // tag comes back at its time.
    bool schedule(const MidiMessage& m, double dueQueueMs, const TimedTag& tag) override;
    // Goes to the audio thread in the same ring as the handed-over messages,
    // which takes back what it still holds before the next block.
    bool withdraw(double fromQueueMs, std::uint64_t beforeSerial, std::uint32_t generation) override;
    std::size_t takeApplied(TimedTag* out, std::size_t max) override;

    // Opens without an audio driver: the caller drives rendering with render().
    // False for a sample rate outside 8000..96000 Hz, without a SoundFont, or
    // when already open in real time. Reuses the kept synthesizer as open()
    // does when its SoundFont and sample rate are those asked for.
    bool openOffline(double sampleRate);
    // Offline only: renders `frames` frames into the two buffers, exactly as the
    // audio callback does, with the attached clock read as the time of the
    // first frame. Fills silence when not open offline.
    void render(float* left, float* right, int frames);
    // Like takeApplied, with the frame each message took effect at.
    std::size_t takeAppliedAt(AppliedEvent* out, std::size_t max);
    struct ChannelPreset {
        int bank = 0;  // 128: a drum kit
        int program = 0;
    };
    // Offline only, on the thread that calls render(): the preset `channel`
    // plays once what render() applied. Empty when not open offline.
    std::optional<ChannelPreset> channelPreset(int channel) const;

    double sampleRate() const;
    // Messages refused by send() or carried silently by schedule().
    std::uint64_t droppedMessages() const { return dropped_.load(std::memory_order_relaxed); }
    // The SoundFont this port plays (after open) or would look for.
    std::string soundFontPath() const;
    // The audio driver in use; empty when closed or offline.
    const std::string& audioDriver() const { return driverName_; }
    // How many times this port has loaded a SoundFont: a reopening that reused
    // the kept synthesizer leaves it unchanged.
    std::uint64_t soundFontLoads() const { return soundFontLoads_; }

    // Covers the scheduling thread waking late for a hand-over.
    static constexpr double kSchedulingSlackMs = 20.0;

private:
    enum class Mode { Closed, RealTime, Offline };
    struct Fluid;

    static int audioCallback(void* data, int len, int nfx, float* fx[], int nout, float* out[]);
    // The audio thread (or render()'s caller): no allocation, no lock, no
    // system call.
    int renderPeriod(int len, int nfx, float* fx[], int nout, float* out[]);
    // options_.soundFontPath, or the default one found now.
    std::string wantedSoundFont() const;
    // Makes the kept synthesizer, if it plays `soundFont` at `rate`, or a new
    // one ready, and hands it to the audio callback. False when none can be had.
    bool takeSynth(const std::string& soundFont, double rate);
    bool createSynth(const std::string& soundFont, double rate);
    void publishSynth();
    // Takes the synthesizer away from the audio callback and silences it.
    void keepSynth();
    void freeSynth();
    void stopDriver();

    Options options_;
    std::unique_ptr<BlockScheduler> scheduler_;
    std::unique_ptr<Fluid> fluid_;
    Mode mode_ = Mode::Closed;
    std::atomic<bool> open_{false};
    std::atomic<int> configuredPeriod_{64};
    std::int64_t framesRendered_ = 0;  // audio thread
    // Audio thread, while a synthesizer is published. Its input gain is the
    // master volume, which a new synthesizer keeps.
    Limiter limiter_;
    std::atomic<std::uint64_t> dropped_{0};
    // What the synthesizer (open or kept) was made with; UI thread.
    std::string loadedSoundFont_;
    double synthRate_ = 0.0;
    std::uint64_t soundFontLoads_ = 0;
    std::string driverName_;
};

}  // namespace vornel
