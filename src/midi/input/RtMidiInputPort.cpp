#include "midi/input/RtMidiInputPort.h"

#include <rtmidi/RtMidi.h>

#include "midi/RtMidiListing.h"

namespace vornel {

namespace {
constexpr const char* kClientName = "Vornel Input";

void quiet(RtMidiError::Type, const std::string&, void*) {}

std::unique_ptr<RtMidiIn> makeClient() {
    if (!sequencerPresent()) return nullptr;
    try {
        auto in = std::make_unique<RtMidiIn>(RtMidi::UNSPECIFIED, kClientName);
        in->setErrorCallback(&quiet, nullptr);
        return in;
    } catch (...) {
        return nullptr;
    }
}

// Whether a port of that name is still listed by `lister`.
bool listed(RtMidiIn* lister, const std::string& name) {
    if (!lister) return false;
    try {
        const unsigned n = lister->getPortCount();
        for (unsigned i = 0; i < n; ++i)
            if (lister->getPortName(i) == name) return true;
    } catch (...) {
    }
    return false;
}
}  // namespace

RtMidiInputPort::RtMidiInputPort(int index, std::string expectedName)
    : index_(index), expectedName_(std::move(expectedName)) {}

RtMidiInputPort::~RtMidiInputPort() {
    close();
}

void RtMidiInputPort::onMessage(double, std::vector<unsigned char>* message, void* self) {
    auto* port = static_cast<RtMidiInputPort*>(self);
    if (message && !message->empty() && port->open_.load(std::memory_order_relaxed))
        port->receive_(message->data(), message->size());
}

void RtMidiInputPort::markLost() const {
    if (open_.exchange(false) && lost_) lost_();
}

bool RtMidiInputPort::open(Receiver receive, Lost lost) {
    close();
    in_ = makeClient();
    if (!in_ || !receive) return false;
    receive_ = std::move(receive);
    lost_ = std::move(lost);
    try {
        in_->setErrorCallback(
            [](RtMidiError::Type type, const std::string&, void* self) {
                // Warnings (a dropped message, a list that changed) keep the
                // port; anything worse means the device is gone.
                if (type == RtMidiError::WARNING || type == RtMidiError::DEBUG_WARNING) return;
                static_cast<RtMidiInputPort*>(self)->markLost();
            },
            this);
        // The list may have changed since it was shown: open the port only if
        // it is still the one the user chose.
        if (index_ < 0 || static_cast<unsigned>(index_) >= in_->getPortCount() ||
            in_->getPortName(static_cast<unsigned>(index_)) != expectedName_) {
            in_.reset();
            return false;
        }
        // System-exclusive, clock and active sensing are of no use to a
        // player; the parser would skip them anyway.
        in_->ignoreTypes(true, true, true);
        in_->setCallback(&RtMidiInputPort::onMessage, this);
        open_.store(true);
        in_->openPort(static_cast<unsigned>(index_), "Vornel Input");
        if (!in_->isPortOpen()) open_.store(false);
    } catch (...) {
        open_.store(false);
    }
    if (!open_.load()) in_.reset();
    // A second client of our own looks for the port in the list later.
    if (open_.load()) lister_ = makeClient();
    return open_.load();
}

void RtMidiInputPort::close() {
    open_.store(false);
    if (!in_) return;
    try {
        in_->cancelCallback();
        in_->closePort();
    } catch (...) {
    }
    in_.reset();
    lister_.reset();
}

bool RtMidiInputPort::isOpen() const {
    if (!open_.load()) return false;
    if (!listed(lister_.get(), expectedName_)) markLost();
    return open_.load();
}

SystemMidiInputs::SystemMidiInputs() = default;
SystemMidiInputs::~SystemMidiInputs() = default;

bool SystemMidiInputs::ensureClient() {
    if (!lister_) lister_ = makeClient();
    return lister_ != nullptr;
}

int SystemMidiInputs::count() { return ensureClient() ? portCountOf(*lister_) : 0; }

std::string SystemMidiInputs::name(int device) { return ensureClient() ? portNameOf(*lister_, device) : std::string(); }

std::unique_ptr<MidiInputPort> SystemMidiInputs::create(int device) {
    if (device < 0 || device >= count()) return nullptr;
    return std::make_unique<RtMidiInputPort>(device, name(device));
}

}  // namespace vornel
