#pragma once

#include <memory>
#include <string>

#include "components/ComponentAbi.h"
#include "components/ComponentObject.h"
#include "components/HostBridge.h"
#include "midi/file/MidifileComponent.h"
#include "platform/Dispatcher.h"

namespace vornel {

// The MIDI file reader as the program sees it when it lives in its module
// (Midifl32): every property goes through the module's table by its dispatch
// number (MidifileDispatch).
class LoadedMidifile final : public MidifileComponent {
public:
    // nullptr when the module cannot create a reader. `api` is a loaded
    // module's table and stays valid for ever (modules are never unloaded);
    // `ui` must outlive the reader.
    static std::unique_ptr<LoadedMidifile> create(const VornelComponentApi& api, Dispatcher& ui);

    void FileAction(std::int32_t action) override;
    void FileName(const std::string& path) override;
    std::string FileName() const override;

    std::int16_t TrackCount() const override;
    void Track(std::int32_t track) override;
    std::int32_t EventCount() const override;
    void EventIndex(std::int32_t index) override;

    std::int16_t EvStatus() const override;
    std::int16_t EvData1() const override;
    std::int16_t EvData2() const override;
    std::int32_t EvDelta() const override;
    std::string EvText() const override;
    std::string EvSysEx() const override;
    std::int32_t EvTempo() const override;

    std::int16_t Resolution() const override;
    std::int32_t Tempo() const override;
    std::int16_t TimeSigNum() const override;
    std::int16_t TimeSigDenExp() const override;
    std::string ChannelTable() const override;
    std::string TrackEvents() const override;

private:
    LoadedMidifile(const VornelComponentApi& api, Dispatcher& ui);

    std::int16_t getInt16(int dispId) const { return static_cast<std::int16_t>(object_->getInt(dispId)); }

    HostBridge bridge_;  // before the object, which it must outlive
    std::unique_ptr<ComponentObject> object_;
};

}  // namespace vornel
