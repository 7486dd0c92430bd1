#pragma once

#include <cstdint>
#include <memory>
#include <string>

#include "components/ComponentAbi.h"
#include "components/ComponentObject.h"
#include "components/HostBridge.h"
#include "midi/output/LiveSink.h"
#include "midi/output/MIDIOutputComponent.h"
#include "platform/Dispatcher.h"

namespace vornel {

// The MIDI output component as the program sees it when it lives in its module
// (Midiio32): every property goes through the module's table by its dispatch
// number, and the module's events arrive as tasks posted to the program's
// Dispatcher, which raise CueReached and QueueDone here, on the UI thread.
class LoadedMIDIOutput final : public MIDIOutputComponent, public LiveSink {
public:
    // nullptr when the module cannot create the component. `api` is a loaded
    // module's table and stays valid for ever (modules are never unloaded);
    // `ui` must outlive the component, whose thread posts to it.
    static std::unique_ptr<LoadedMIDIOutput> create(const VornelComponentApi& api, Dispatcher& ui);
    ~LoadedMIDIOutput() override;

    void PortCommand(int code) override;
    void PortNumber(int device) override;
    int PortNumber() const override;
    std::string PortName() const override;
    void StatusByte(int value) override;
    void DataByte1(int value) override;
    int DataByte1() const override;
    void DataByte2(int value) override;
    void CueTime(double ms) override;
    void SysExData(const std::string& data) override;
    int PortCount() const override;
    int PortIsOpen() const override;
    void CueTag(std::int32_t tag) override;
    void TempoShift(int shift) override;
    double QueueTime() const override;
    void sendLive(int status, int data1, int data2) override;

private:
    LoadedMIDIOutput(const VornelComponentApi& api, Dispatcher& ui);

    static void onCueReached(void* sink, std::int32_t tag) noexcept;
    static void onQueueDone(void* sink) noexcept;

    HostBridge bridge_;  // before the object, which it must outlive
    std::unique_ptr<ComponentObject> object_;
};

}  // namespace vornel
