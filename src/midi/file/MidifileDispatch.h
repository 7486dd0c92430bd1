#pragma once

namespace vornel {

// The dispatch numbers by which the reader's properties are addressed
// (Midifile::getNumber, getString and set take them).
struct MidifileDispatch {
    enum Id : int {
        FileAction = 1,
        Resolution = 6,
        TrackCount = 7,
        Track = 8,
        FileName = 9,
        EvStatus = 10,
        EvData1 = 11,
        EvData2 = 12,
        EvDelta = 13,
        EvText = 15,
        Tempo = 16,
        TimeSigNum = 22,
        TimeSigDenExp = 23,
        EventCount = 27,
        EvSysEx = 28,
        EventIndex = 31,
        ChannelTable = 40,
        TrackEvents = 41,
        EvTempo = 42,
    };
};

}  // namespace vornel
