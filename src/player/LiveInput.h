#pragma once

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

#include "midi/input/MidiInputParser.h"
#include "midi/input/MidiInputPort.h"
#include "player/ChordRecognition.h"
#include "player/LiveInputSettings.h"

namespace vornel {

class Dispatcher;
class LiveSink;

// A MIDI keyboard played through Vornel. Keys below the split point are the
// left hand: they name a chord, which reaches the UI thread (events.chord).
// Keys at and above it are the right hand: they sound at once in the chosen
// voice, straight from the input's thread to the output, never waiting for
// the UI thread. With no style loaded the whole keyboard is the right hand.
//
// Threads: receive() on the input's thread (one at a time); everything else
// on the UI thread. The settings the input thread reads are atomics.
class LiveInput {
public:
    struct Events {
        std::function<void(const RecognisedChord&)> chord;  // a chord the left hand named
        std::function<void()> lost;                         // the device went away
        std::function<void(int key)> splitKey;              // the key played after learnSplit()
    };

    LiveInput(LiveSink& out, Dispatcher& ui);
    ~LiveInput();
    LiveInput(const LiveInput&) = delete;
    LiveInput& operator=(const LiveInput&) = delete;

    // Closes any device open, then opens this one; false when it cannot be
    // opened (the program goes on without it).
    bool open(std::unique_ptr<MidiInputPort> port, std::string name);
    // Every note the right hand holds ends, the pedal comes up.
    void close();
    bool isOpen() const { return port_ != nullptr; }
    const std::string& deviceName() const { return name_; }
    // Notices a device that went away without a word; call now and then.
    void poll();

    // The next key played, wherever it lies, is not heard: it becomes the
    // split point (events.splitKey).
    void learnSplit() { learning_.store(true, std::memory_order_relaxed); }
    void setSplit(int key);
    int split() const { return split_.load(std::memory_order_relaxed); }
    void setMode(ChordMode mode) { mode_.store(mode, std::memory_order_relaxed); }
    ChordMode mode() const { return mode_.load(std::memory_order_relaxed); }
    // The General MIDI program of the right hand, sent before its next note.
    void setVoice(int program);
    int voice() const { return voice_.load(std::memory_order_relaxed); }
    void setChannel(int channel);
    int channel() const { return channel_.load(std::memory_order_relaxed); }
    void setWholeKeyboard(bool whole) { wholeKeyboard_.store(whole, std::memory_order_relaxed); }
    // The device was reset (a style load reopens it): the voice is sent again
    // before the next note.
    void outputReset() { voiceDue_.store(true, std::memory_order_relaxed); }

    Events events;

    // The input's thread: bytes as the device delivered them.
    void receive(const std::uint8_t* bytes, std::size_t size);

private:
    void handle(const ChannelMessage& m);
    void rightOn(int key, int velocity);
    void rightOff(int key);
    void leftOn(int key);
    void postChord(const RecognisedChord& chord);
    void deviceLost();
    // Only while no input thread runs.
    void releaseAll();

    LiveSink& out_;
    Dispatcher& ui_;
    std::unique_ptr<MidiInputPort> port_;
    std::string name_;

    std::atomic<int> split_{LiveInputSettings::kDefaultSplit};
    std::atomic<ChordMode> mode_{ChordMode::Fingered};
    std::atomic<int> voice_{0};
    std::atomic<int> channel_{0};
    std::atomic<bool> wholeKeyboard_{true};
    std::atomic<bool> voiceDue_{true};
    std::atomic<bool> learning_{false};

    // Input thread only (and the UI thread once the device is closed).
    MidiInputParser parser_;
    std::array<std::int8_t, 128> sounding_{};  // channel a right-hand key sounds on, -1 none
    std::array<bool, 128> held_{};             // left-hand keys down
    std::array<bool, 16> pedalDown_{};
    std::array<bool, 16> bent_{};

    // The last chord named and whether a task to deliver it waits: a flood
    // of chords posts one task, which delivers the latest.
    std::atomic<int> latestChord_{-1};
    std::atomic<bool> chordPosted_{false};
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace vornel
