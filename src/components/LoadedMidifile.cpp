#include "components/LoadedMidifile.h"

#include "midi/file/MidifileDispatch.h"

namespace vornel {

using Id = MidifileDispatch::Id;

LoadedMidifile::LoadedMidifile(const VornelComponentApi& api, Dispatcher& ui) : bridge_(ui) {
    if (void* object = api.create(bridge_.host())) object_ = std::make_unique<ComponentObject>(api, object);
}

std::unique_ptr<LoadedMidifile> LoadedMidifile::create(const VornelComponentApi& api, Dispatcher& ui) {
    std::unique_ptr<LoadedMidifile> reader(new LoadedMidifile(api, ui));
    if (!reader->object_) return nullptr;
    return reader;
}

void LoadedMidifile::FileAction(std::int32_t action) { object_->setNumber(Id::FileAction, action); }
void LoadedMidifile::FileName(const std::string& path) { object_->setString(Id::FileName, path); }
std::string LoadedMidifile::FileName() const { return object_->getString(Id::FileName); }

std::int16_t LoadedMidifile::TrackCount() const { return getInt16(Id::TrackCount); }
void LoadedMidifile::Track(std::int32_t track) { object_->setNumber(Id::Track, track); }
std::int32_t LoadedMidifile::EventCount() const { return object_->getInt(Id::EventCount); }
void LoadedMidifile::EventIndex(std::int32_t index) { object_->setNumber(Id::EventIndex, index); }

std::int16_t LoadedMidifile::EvStatus() const { return getInt16(Id::EvStatus); }
std::int16_t LoadedMidifile::EvData1() const { return getInt16(Id::EvData1); }
std::int16_t LoadedMidifile::EvData2() const { return getInt16(Id::EvData2); }
std::int32_t LoadedMidifile::EvDelta() const { return object_->getInt(Id::EvDelta); }
std::string LoadedMidifile::EvText() const { return object_->getString(Id::EvText); }
std::string LoadedMidifile::EvSysEx() const { return object_->getString(Id::EvSysEx); }
std::int32_t LoadedMidifile::EvTempo() const { return object_->getInt(Id::EvTempo); }

std::int16_t LoadedMidifile::Resolution() const { return getInt16(Id::Resolution); }
std::int32_t LoadedMidifile::Tempo() const { return object_->getInt(Id::Tempo); }
std::int16_t LoadedMidifile::TimeSigNum() const { return getInt16(Id::TimeSigNum); }
std::int16_t LoadedMidifile::TimeSigDenExp() const { return getInt16(Id::TimeSigDenExp); }
std::string LoadedMidifile::ChannelTable() const { return object_->getString(Id::ChannelTable); }
std::string LoadedMidifile::TrackEvents() const { return object_->getString(Id::TrackEvents); }

}  // namespace vornel
