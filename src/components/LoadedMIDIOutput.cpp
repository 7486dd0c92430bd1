#include "components/LoadedMIDIOutput.h"

#include <exception>

namespace vornel {

LoadedMIDIOutput::LoadedMIDIOutput(const VornelComponentApi& api, Dispatcher& ui) : bridge_(ui) {
    if (void* object = api.create(bridge_.host())) object_ = std::make_unique<ComponentObject>(api, object);
}

std::unique_ptr<LoadedMIDIOutput> LoadedMIDIOutput::create(const VornelComponentApi& api, Dispatcher& ui) {
    std::unique_ptr<LoadedMIDIOutput> output(new LoadedMIDIOutput(api, ui));
    if (!output->object_) return nullptr;
    // The proxy's address is the sink: it never moves, being on the heap.
    api.setEvents(output->object_->object(), output.get(), &LoadedMIDIOutput::onCueReached,
                  &LoadedMIDIOutput::onQueueDone);
    return output;
}

// Events of tasks still waiting in the dispatcher find the component gone and
// do nothing; clearing the sink first makes sure none reaches this object.
LoadedMIDIOutput::~LoadedMIDIOutput() {
    if (object_) object_->api().setEvents(object_->object(), nullptr, nullptr, nullptr);
}

void LoadedMIDIOutput::onCueReached(void* sink, std::int32_t tag) noexcept {
    auto* self = static_cast<LoadedMIDIOutput*>(sink);
    try {
        if (self->CueReached) self->CueReached(tag);
    } catch (...) {
        HostBridge::carry(std::current_exception());
    }
}

void LoadedMIDIOutput::onQueueDone(void* sink) noexcept {
    auto* self = static_cast<LoadedMIDIOutput*>(sink);
    try {
        if (self->QueueDone) self->QueueDone();
    } catch (...) {
        HostBridge::carry(std::current_exception());
    }
}

void LoadedMIDIOutput::PortCommand(int code) { object_->setNumber(kPortCommand, code); }
void LoadedMIDIOutput::PortNumber(int device) { object_->setNumber(kPortNumber, device); }
int LoadedMIDIOutput::PortNumber() const { return object_->getInt(kPortNumber); }
std::string LoadedMIDIOutput::PortName() const { return object_->getString(kPortName); }
void LoadedMIDIOutput::StatusByte(int value) { object_->setNumber(kStatusByte, value); }
void LoadedMIDIOutput::DataByte1(int value) { object_->setNumber(kDataByte1, value); }
int LoadedMIDIOutput::DataByte1() const { return object_->getInt(kDataByte1); }
void LoadedMIDIOutput::DataByte2(int value) { object_->setNumber(kDataByte2, value); }
void LoadedMIDIOutput::CueTime(double ms) { object_->setNumber(kCueTime, ms); }
void LoadedMIDIOutput::SysExData(const std::string& data) { object_->setString(kSysExData, data); }
int LoadedMIDIOutput::PortCount() const { return object_->getInt(kPortCount); }
int LoadedMIDIOutput::PortIsOpen() const { return object_->getInt(kPortIsOpen); }
void LoadedMIDIOutput::CueTag(std::int32_t tag) { object_->setNumber(kCueTag, tag); }
void LoadedMIDIOutput::TempoShift(int shift) { object_->setNumber(kTempoShift, shift); }
double LoadedMIDIOutput::QueueTime() const { return object_->getNumber(kQueueTime); }
void LoadedMIDIOutput::sendLive(int status, int data1, int data2) {
    object_->setNumber(kLiveMessage, pack(status, data1, data2));
}

}  // namespace vornel
