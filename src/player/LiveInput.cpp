#include "player/LiveInput.h"

#include <algorithm>

#include "midi/MidiVocabulary.h"
#include "midi/output/LiveSink.h"
#include "platform/Dispatcher.h"

namespace vornel {

namespace {
int packChord(const RecognisedChord& c) {
    return c.root * 16 + static_cast<int>(c.type);
}
RecognisedChord unpackChord(int packed) {
    return {packed / 16, static_cast<ChordType>(packed % 16)};
}
}  // namespace

LiveInput::LiveInput(LiveSink& out, Dispatcher& ui) : out_(out), ui_(ui) {
    sounding_.fill(-1);
}

LiveInput::~LiveInput() {
    if (port_) port_->close();
}

bool LiveInput::open(std::unique_ptr<MidiInputPort> port, std::string name) {
    close();
    if (!port) return false;
    parser_.reset();
    held_.fill(false);
    voiceDue_.store(true);
    std::weak_ptr<int> alive = alive_;
    const bool opened = port->open([this](const std::uint8_t* bytes, std::size_t size) { receive(bytes, size); },
                                   [this, alive] {
                                       ui_.post([this, alive] {
                                           if (!alive.expired()) deviceLost();
                                       });
                                   });
    if (!opened) return false;
    port_ = std::move(port);
    name_ = std::move(name);
    return true;
}

void LiveInput::close() {
    if (!port_) return;
    port_->close();
    port_.reset();
    name_.clear();
    releaseAll();
}

void LiveInput::poll() {
    if (port_ && !port_->isOpen()) deviceLost();
}

void LiveInput::deviceLost() {
    if (!port_) return;  // already closed by the user
    close();
    if (events.lost) events.lost();
}

void LiveInput::setSplit(int key) {
    split_.store(std::clamp(key, 0, midi::kDataMax), std::memory_order_relaxed);
}

void LiveInput::setVoice(int program) {
    voice_.store(std::clamp(program, 0, midi::kDataMax), std::memory_order_relaxed);
    voiceDue_.store(true, std::memory_order_relaxed);
}

void LiveInput::setChannel(int channel) {
    channel_.store(std::clamp(channel, 0, midi::kChannels - 1), std::memory_order_relaxed);
    voiceDue_.store(true, std::memory_order_relaxed);
}

void LiveInput::receive(const std::uint8_t* bytes, std::size_t size) {
    parser_.feed(bytes, size, [this](const ChannelMessage& m) { handle(m); });
}

// Only the notes, the sustain pedal and pitch bend pass: the keyboard's own
// program changes, bank selects and other controllers would fight the voice
// chosen in Vornel and the style's sound set-up.
void LiveInput::handle(const ChannelMessage& m) {
    const int key = m.data1;
    switch (m.kind()) {
        case midi::kNoteOn:
            if (learning_.exchange(false, std::memory_order_relaxed)) {
                std::weak_ptr<int> alive = alive_;
                ui_.post([this, alive, key] {
                    if (!alive.expired() && events.splitKey) events.splitKey(key);
                });
                return;
            }
            if (!wholeKeyboard_.load(std::memory_order_relaxed) && key < split_.load(std::memory_order_relaxed))
                leftOn(key);
            else
                rightOn(key, m.data2);
            return;
        case midi::kNoteOff:
            // A key ends where it started, whatever the split or channel now.
            if (sounding_[static_cast<std::size_t>(key)] >= 0)
                rightOff(key);
            else
                held_[static_cast<std::size_t>(key)] = false;
            return;
        case midi::kControlChange:
            if (key != midi::cc::kSustain) return;
            {
                const int ch = channel_.load(std::memory_order_relaxed);
                pedalDown_[static_cast<std::size_t>(ch)] = m.data2 >= 64;
                out_.sendLive(midi::statusOf(midi::kControlChange, ch), midi::cc::kSustain, m.data2);
            }
            return;
        case midi::kPitchBend: {
            const int ch = channel_.load(std::memory_order_relaxed);
            bent_[static_cast<std::size_t>(ch)] = true;
            out_.sendLive(midi::statusOf(midi::kPitchBend, ch), m.data1, m.data2);
            return;
        }
        default:
            return;
    }
}

void LiveInput::rightOn(int key, int velocity) {
    const int ch = channel_.load(std::memory_order_relaxed);
    if (voiceDue_.exchange(false, std::memory_order_relaxed))
        out_.sendLive(midi::statusOf(midi::kProgramChange, ch), voice_.load(std::memory_order_relaxed), 0);
    // Struck again before its release on another channel: the first one ends,
    // or it would hang there.
    const std::int8_t was = sounding_[static_cast<std::size_t>(key)];
    if (was >= 0 && was != ch) out_.sendLive(midi::statusOf(midi::kNoteOff, was), key, 0);
    sounding_[static_cast<std::size_t>(key)] = static_cast<std::int8_t>(ch);
    out_.sendLive(midi::statusOf(midi::kNoteOn, ch), key, velocity);
}

void LiveInput::rightOff(int key) {
    const std::int8_t ch = sounding_[static_cast<std::size_t>(key)];
    sounding_[static_cast<std::size_t>(key)] = -1;
    out_.sendLive(midi::statusOf(midi::kNoteOff, ch), key, 0);
}

// A chord is named when a key goes down, never when one comes up: releasing
// a chord one finger at a time must not step through the smaller chords it
// leaves, and the chord stays after the hand lets go.
void LiveInput::leftOn(int key) {
    held_[static_cast<std::size_t>(key)] = true;
    std::array<int, midi::kKeys> keys{};
    std::size_t n = 0;
    for (int k = 0; k < midi::kKeys; ++k)
        if (held_[static_cast<std::size_t>(k)]) keys[n++] = k;
    if (const auto chord = recogniseChord(std::span<const int>(keys.data(), n), mode_.load(std::memory_order_relaxed)))
        postChord(*chord);
}

void LiveInput::postChord(const RecognisedChord& chord) {
    latestChord_.store(packChord(chord), std::memory_order_release);
    if (chordPosted_.exchange(true, std::memory_order_acq_rel)) return;
    std::weak_ptr<int> alive = alive_;
    ui_.post([this, alive] {
        if (alive.expired()) return;
        chordPosted_.store(false, std::memory_order_release);
        const int packed = latestChord_.load(std::memory_order_acquire);
        if (packed >= 0 && events.chord) events.chord(unpackChord(packed));
    });
}

void LiveInput::releaseAll() {
    for (int key = 0; key < midi::kKeys; ++key)
        if (sounding_[static_cast<std::size_t>(key)] >= 0) rightOff(key);
    for (int ch = 0; ch < midi::kChannels; ++ch) {
        if (pedalDown_[static_cast<std::size_t>(ch)])
            out_.sendLive(midi::statusOf(midi::kControlChange, ch), midi::cc::kSustain, 0);
        if (bent_[static_cast<std::size_t>(ch)])
            out_.sendLive(midi::statusOf(midi::kPitchBend, ch), midi::kBendCentreLsb, midi::kBendCentreMsb);
    }
    pedalDown_.fill(false);
    bent_.fill(false);
    held_.fill(false);
}

}  // namespace vornel
