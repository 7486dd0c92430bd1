// libFuzzer target for the MIDI file reader: loads the input as a file and
// reads every property of every event of every track, as loading does, and
// a little beyond the ends. Besides the sanitizers' findings it stops on any
// value the reader promises never to give.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "midi/file/CasmParser.h"
#include "midi/file/Midifile.h"
#include "midi/file/MidifileDispatch.h"
#include "midi/file/SmfParser.h"
#include "playback/ChannelTransform.h"

namespace {

void check(bool ok) {
    if (!ok) std::abort();
}

bool selectedEventIsEmpty(const vornel::Midifile& f) {
    return f.EvStatus() == 0 && f.EvData1() == 0 && f.EvData2() == 0 && f.EvDelta() == 0 && f.EvText().empty() &&
           f.EvSysEx().empty();
}

void checkEvent(const vornel::Midifile& f) {
    const int status = f.EvStatus();
    const int data1 = f.EvData1();
    const int data2 = f.EvData2();
    const std::string text = f.EvText();
    const std::string sysEx = f.EvSysEx();
    check(f.EvDelta() >= 0 && f.EvDelta() <= 0x0FFFFFFF);
    check(f.getNumber(vornel::MidifileDispatch::EvStatus) == status);
    check(f.getString(vornel::MidifileDispatch::EvText) == text);
    if (status == 255) {
        check(data1 >= 0 && data1 <= 255 && data2 == 0 && sysEx.empty());
        check(text.empty() || (data1 >= 1 && data1 <= 15));
        check(text.find('\0') == std::string::npos);
    } else if (status == 240) {
        check(data1 == 0 && data2 == 0 && text.empty());
        check(!sysEx.empty() && static_cast<unsigned char>(sysEx[0]) == 0xF0);
    } else if (status == 247) {
        check(data1 == 0 && data2 == 0 && text.empty());
    } else {
        check(status >= 0x80 && status <= 0xEF);
        check(data1 >= 0 && data1 <= 127 && data2 >= 0 && data2 <= 127);
        check(text.empty() && sysEx.empty());
        const int kind = status & 0xF0;
        if (kind == 0xC0 || kind == 0xD0) check(data2 == 0);
    }
}

// Every record the table reader keeps has its values in range, whatever the
// bytes were, and there are no more records than the table has room for.
void checkChannelTable(const std::string& casm) {
    const vornel::CasmTable table = vornel::CasmParser::parse(casm);
    std::size_t records = 0;
    for (const vornel::CasmSegment& segment : table.segments) {
        check(!segment.sections.empty() && !segment.records.empty());
        std::uint32_t channels = 0;
        for (const vornel::ChannelRecord& r : segment.records) {
            ++records;
            check(r.sourceChannel <= 15 && (channels & (1u << r.sourceChannel)) == 0);
            channels |= 1u << r.sourceChannel;
            check(r.destination >= 8 && r.destination <= 15 && r.name.size() <= 8);
            check(r.noteMask <= 0x0FFF && r.chordMask < (std::uint64_t{1} << 40));
            check(r.sourceRoot <= 11 && r.sourceType <= 33 && r.middleLow <= r.middleHigh && r.middleHigh <= 127);
            for (const vornel::TranspositionBlock& b : r.blocks) {
                check(b.ntr <= 2 && b.table() <= 10 && b.highKey <= 11 && b.rtr <= 5);
                check(b.lowLimit <= b.highLimit && b.highLimit <= 127);
            }
            check(r.breakDrumNote <= 127 && r.breakDrumVolume <= 127);
            // Whatever a record says, the transform gives MIDI keys.
            for (const vornel::PlayedChord chord : {vornel::PlayedChord{0, 0}, vornel::PlayedChord{9, 8},
                                                    vornel::PlayedChord{11, 19}, vornel::PlayedChord{6, 17}}) {
                for (int note : {0, 59, 127}) {
                    const int key = vornel::transformNote(r, note, chord);
                    check(key >= 0 && key <= 127);
                    const int changed = vornel::atChordChange(r, note, key, vornel::PlayedChord{4, 33}).key;
                    check(changed >= 0 && changed <= 127);
                }
            }
        }
    }
    // The smallest record is 27 bytes behind an 8-byte chunk head.
    check(records <= casm.size() / 35);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // Memory stays in proportion to the input: at most one SmfEvent per two
    // bytes, plus the bytes themselves and one entry per track.
    const vornel::SmfData parsed = vornel::SmfParser::parse(std::vector<std::uint8_t>(data, data + size));
    check(parsed.footprintBytes() <= size * (1 + sizeof(vornel::SmfEvent) / 2 + 4) + 1024);

    vornel::Midifile f;
    f.loadFromMemory(data, size);
    const int tracks = f.TrackCount();
    check(tracks >= 0 && tracks == parsed.trackCount());
    check(f.Resolution() >= 0);
    (void)f.Tempo();
    (void)f.TimeSigNum();
    (void)f.TimeSigDenExp();

    std::size_t events = 0;
    for (int t = 0; t <= tracks + 1; ++t) {
        f.Track(t);
        const std::int32_t count = f.EventCount();
        const bool inRange = t >= 1 && t <= tracks;
        check(count >= 0 && (inRange || count == 0));
        events += static_cast<std::size_t>(count);
        for (std::int32_t e = 0; e <= count + 1; ++e) {
            f.EventIndex(e);
            if (e >= 1 && e <= count)
                checkEvent(f);
            else
                check(selectedEventIsEmpty(f));
        }
    }
    for (std::int32_t wild : {INT32_MIN, -1, INT32_MAX}) {
        f.Track(wild);
        check(f.EventCount() == 0);
        f.Track(1);
        f.EventIndex(wild);
        check(selectedEventIsEmpty(f));
    }
    check(events == parsed.totalEvents());
    const std::string table = f.ChannelTable();
    check(table == f.getString(vornel::MidifileDispatch::ChannelTable) && table.size() <= size);
    checkChannelTable(table);
    // The table reader on its own, on bytes that need not come from a file.
    checkChannelTable(std::string(reinterpret_cast<const char*>(data), size));
    check(events <= size / 2);
    return 0;
}
