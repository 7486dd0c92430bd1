#include "midi/output/ports/RtMidiPort.h"

#include <rtmidi/RtMidi.h>

#include "midi/RtMidiListing.h"

namespace vornel {

namespace {
constexpr const char* kClientName = "Vornel";

// Errors in the constructor cannot be routed to a callback; they throw.
std::unique_ptr<RtMidiOut> makeClient() {
    if (!sequencerPresent()) return nullptr;
    try {
        return std::make_unique<RtMidiOut>(RtMidi::UNSPECIFIED, kClientName);
    } catch (...) {
        return nullptr;
    }
}
}  // namespace

RtMidiPort::RtMidiPort(int index, std::string expectedName)
    : index_(index), expectedName_(std::move(expectedName)) {
    bytes_.reserve(512);
}

RtMidiPort::~RtMidiPort() { close(); }

void RtMidiPort::onError(int type, const std::string&, void* self) {
    // Warnings (a port list that changed, a message RtMidi skipped) keep the
    // port usable; anything worse means the device is gone.
    const auto t = static_cast<RtMidiError::Type>(type);
    if (t == RtMidiError::WARNING || t == RtMidiError::DEBUG_WARNING) return;
    static_cast<RtMidiPort*>(self)->open_.store(false);
}

bool RtMidiPort::open() {
    close();
    out_ = makeClient();
    if (!out_) return false;
    try {
        out_->setErrorCallback(
            [](RtMidiError::Type type, const std::string& text, void* self) {
                onError(static_cast<int>(type), text, self);
            },
            this);
        // The list may have changed since it was shown; open the port only if
        // it is still the one the user chose.
        if (index_ < 0 || static_cast<unsigned>(index_) >= out_->getPortCount() ||
            out_->getPortName(index_) != expectedName_)
            return false;
        open_.store(true);
        out_->openPort(index_, "Vornel Output");
        if (!out_->isPortOpen()) open_.store(false);
    } catch (...) {
        open_.store(false);
    }
    return open_.load();
}

void RtMidiPort::close() {
    open_.store(false);
    if (!out_) return;
    try {
        out_->closePort();
    } catch (...) {
    }
    out_.reset();
}

void RtMidiPort::send(const MidiMessage& m) {
    if (!open_.load()) return;
    bytes_.clear();
    if (m.status == 0xF0) {
        bytes_.assign(m.sysex.begin(), m.sysex.end());
    } else {
        bytes_.push_back(static_cast<unsigned char>(m.status));
        bytes_.push_back(static_cast<unsigned char>(m.data1));
        if (channelMessageSize(m.status) == 3) bytes_.push_back(static_cast<unsigned char>(m.data2));
    }
    try {
        out_->sendMessage(bytes_.data(), bytes_.size());
    } catch (...) {
        open_.store(false);
    }
}

SystemMidiPorts::SystemMidiPorts() = default;
SystemMidiPorts::~SystemMidiPorts() = default;

bool SystemMidiPorts::ensureClient() {
    if (lister_) return true;
    lister_ = makeClient();
    if (!lister_) return false;
    try {
        // Listing only: a failure reads as an empty list, not as a message.
        lister_->setErrorCallback([](RtMidiError::Type, const std::string&, void*) {}, nullptr);
    } catch (...) {
        lister_.reset();
    }
    return lister_ != nullptr;
}

int SystemMidiPorts::count() { return ensureClient() ? portCountOf(*lister_) : 0; }

std::string SystemMidiPorts::name(int index) { return ensureClient() ? portNameOf(*lister_, index) : std::string(); }

}  // namespace vornel
