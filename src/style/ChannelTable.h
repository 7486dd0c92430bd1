#pragma once

#include <array>
#include <vector>

#include "midi/MidiVocabulary.h"
#include "midi/file/CasmTable.h"
#include "midi/file/ChannelRecord.h"
#include "style/PerPart.h"

namespace vornel {

// A loaded style's channel table, per part number 1..18: the records of the
// CSEG that names the section. Loading fills it; playback only reads it.
class ChannelTable {
public:
    // Takes the records of every section the table names. A CSEG names a
    // section by its marker text (compared as marker recognition compares
    // it); names no section has are passed over, and a section named by
    // several CSEGs keeps the first (our choice: files never do it).
    void fill(const CasmTable& table);
    void clear();

    // The file had a table with at least one section in it.
    bool present() const { return present_; }
    // The table names this section. A style with a table still plays a
    // section it leaves out the way a style without one does.
    bool covers(int part) const { return covered_(part); }
    const std::vector<ChannelRecord>& records(int part) const { return records_(part); }
    // The record of a source channel (0..15) in a section; nullptr when the
    // section has none for it.
    const ChannelRecord* forSource(int part, int sourceChannel) const;
    // The record of a source channel in the first section that has one.
    const ChannelRecord* anyForSource(int sourceChannel) const;

    // How a channel message of a source channel (0..15) in a part is sent.
    // A section the table leaves out sends it as written; in a section it
    // covers, a channel without a record is not played (real files give
    // every channel with notes a record).
    struct Route {
        const ChannelRecord* record = nullptr;  // send by this record
        bool dropped = false;                   // send nothing
    };
    Route route(int part, int sourceChannel) const;
    // The same for the style's set-up messages, which lie before every
    // section: the section's own record first, then any section's, so each
    // source's instrument reaches the channel it plays on. A source the table
    // never routes is not set up for a section it covers: it would only change
    // the instrument of a channel the player may be playing live.
    Route setupRoute(int part, int sourceChannel) const;

    // The channels a style sends on, given the channels its events are
    // stored on: each routed source's destinations, other sources as they
    // are.
    std::array<bool, midi::kChannels> sentChannels(const std::array<bool, midi::kChannels>& stored) const;

private:
    PerPart<std::vector<ChannelRecord>> records_;
    PerPart<bool> covered_;
    bool present_ = false;
};

}  // namespace vornel
