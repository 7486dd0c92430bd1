#include <cmath>
#include <string>

#include "midi/MidiVocabulary.h"
#include "midi/file/MidifileComponent.h"
#include "midi/output/MIDIOutputComponent.h"
#include "style/BarRounding.h"
#include "style/FileEvents.h"
#include "style/StyleData.h"
#include "style/StyleLoading.h"
#include "style/SysExJoin.h"
#include "style/TrackMerge.h"

namespace vornel {

namespace {

constexpr std::int16_t kTempoType = 0x51;
constexpr std::int16_t kMarkerType = 6;

enum class Outcome { Done, ArithmeticFault };

bool isSilentNote(std::int16_t status, std::int16_t data2) {
    return status >= midi::kNoteOff && status < midi::kPolyPressure && data2 == 0;
}

// Progress shown before a section is extracted: its name, then the share of
// the file's section markers already taken on.
void showProgress(PlayerState& s, std::string_view Part) {
    s.Label4.visible = true;
    s.Lbl_Loading.visible = true;
    s.dialogs.repaintNow();
    s.Label4.caption = Part;
    s.dialogs.repaintNow();

    const StyleData& style = s.style;
    // Without a count of section markers there is no whole to measure
    // against: no progress is claimed (the end of loading shows 100).
    int percent = 0;
    if (style.MarkerCount > 0) percent = static_cast<int>(std::floor(100.0 / style.MarkerCount * style.LoadedParts));
    s.Lbl_Loading.caption = s.text(2, 3) + "   % " + std::to_string(percent);
}

struct Boundaries {
    std::int32_t start = -1;
    std::int32_t end = -1;
    bool found = false;     // an end marker was seen
    std::int32_t last = 0;  // time of the latest event that is not a silent note
    bool overflowed = false;
};

// Finds where the section starts and ends, and sends the style's set-up
// messages on the way, each on the channel its source plays on in part p.
// Only track 1's markers bound sections; the other tracks of a format-1 file
// are walked alongside it in time order.
Boundaries scanBoundaries(PlayerState& s, const FileEvents& fileEvents, std::string_view Part, int p) {
    MIDIOutputComponent& out = s.MIDIOutput1;
    Boundaries b;
    SysExJoin sysEx;
    TrackMerge events(fileEvents);
    while (events.next()) {
        const std::int32_t time = events.time();
        const FileEvent& e = events.event();
        const std::int16_t status = e.status;
        const std::int16_t data1 = e.data1;
        const std::int16_t data2 = e.data2;
        if (status == midi::kMeta && data1 == kMarkerType && events.track() == 1) {
            const std::string_view text = fileEvents.text(e);
            if (text == Part && b.start == -1) {
                b.start = time;
            } else if (text != Part && b.end == -1 && b.start > -1 &&
                       static_cast<std::int64_t>(time) > static_cast<std::int64_t>(b.start) + 1) {
                // A marker on the start tick or one tick after it still
                // belongs to the section's opening.
                b.end = time;
                b.found = true;
            }
        }
        if (status == midi::kSysEx || status == midi::kSysExEnd) {
            // Split and escaped messages reach the device whole, or not at all.
            if (const auto message = sysEx.add(status, std::string(fileEvents.sysEx(e)))) {
                out.StatusByte(midi::kSysEx);
                out.SysExData(*message);
                out.PortCommand(MIDIOutputComponent::SendNow);
            }
        }
        // Everything but the notes is handed over as it is; the component
        // refuses what is not a valid message (meta events, the system-
        // exclusive already sent above).
        std::int16_t sent = status;
        if (status >= midi::kPolyPressure && midi::isChannelMessage(status)) {
            const ChannelTable::Route route = s.style.channels.setupRoute(p, midi::channelOf(status));
            if (route.dropped) sent = 0;
            if (route.record)
                sent = static_cast<std::int16_t>(midi::statusOf(midi::kindOf(status), route.record->destination));
        }
        if (sent >= midi::kPolyPressure) {
            out.StatusByte(sent);
            out.DataByte1(data1);
            out.DataByte2(data2);
            out.PortCommand(MIDIOutputComponent::SendNow);
        }
        if (!isSilentNote(status, data2)) b.last = time;
        if (b.found) break;
    }
    b.overflowed = events.overflowed();
    return b;
}

// Copies the events in [start, end) into part p, plus the silent notes lying
// exactly on the end (the note-offs of the section's last notes).
void collect(PlayerState& s, const FileEvents& fileEvents, int p, std::int32_t start, std::int32_t end) {
    StyleData& style = s.style;
    TrackMerge events(fileEvents);
    while (events.next()) {
        const std::int32_t time = events.time();
        const FileEvent& e = events.event();
        const std::int16_t status = e.status;
        bool store = false;
        if (status == midi::kMeta && e.data1 == kTempoType && start <= time && time < end) {
            if (e.tempo > 0) style.PartTempos(p).push_back({time - start, e.tempo});
        } else if (status != midi::kMeta) {
            if (start <= time && time < end)
                store = true;
            else if (time == end)
                store = isSilentNote(status, e.data2);
        }
        if (store) {
            style.storeEvent(p, status, e.data1, e.data2, time - start, fileEvents.text(e), fileEvents.sysEx(e));
            if (style.PartEvCount(p) >= kPartCapacity) return;
        } else if (time > end) {
            // Times never fall in the merged walk: nothing later can belong.
            return;
        }
    }
}

Outcome extractSection(PlayerState& s, const FileEvents& events, std::string_view Part, std::int16_t& PartNo) {
    if (PartNo < 0 || PartNo >= kPartCount) return Outcome::Done;
    if (!s.Cmd_Part[static_cast<std::size_t>(PartNo)].enabled) return Outcome::Done;

    showProgress(s, Part);
    ++s.style.LoadedParts;

    PartNo = static_cast<std::int16_t>(PartNo + 1);
    const int p = PartNo;
    MidifileComponent& file = s.Midifile1;

    Boundaries b = scanBoundaries(s, events, Part, p);
    // Ticks past the 32-bit tables are an arithmetic fault, as a bar length
    // past 16 bits is: this section and the ones after it are not loaded.
    if (b.overflowed) return Outcome::ArithmeticFault;

    if (b.start > -1 && !b.found) {
        file.Track(1);
        file.EventIndex(1);
        const RoundedEnd rounded =
            roundSectionEnd(b.start, b.last, file.TimeSigNum(), file.Resolution(), file.TimeSigDenExp());
        if (rounded.fault) return Outcome::ArithmeticFault;
        b.end = rounded.end;
    }

    // With no start, or no end, nothing lies in the section.
    if (b.start > -1 && b.end > -1) collect(s, events, p, b.start, b.end);

    s.style.PartStart(p) = b.start;
    s.style.PartEnd(p) = b.end;
    file.Track(1);
    file.EventIndex(1);
    return Outcome::Done;
}

}  // namespace

void LoadPartData(PlayerState& s, std::string_view Part, std::int16_t& PartNo) {
    (void)extractSection(s, FileEvents::read(s.Midifile1), Part, PartNo);
}

// The file is read from the reader once and then walked twice per section:
// crossing into the reader's module per event and per section would cost
// more than all the rest of loading.
void SetParts(PlayerState& s) {
    const FileEvents events = FileEvents::read(s.Midifile1);
    for (int button : kLoadOrderButtons) {
        std::int16_t partNo = static_cast<std::int16_t>(button);
        if (extractSection(s, events, kPartTable[static_cast<std::size_t>(button)].sectionName, partNo) ==
            Outcome::ArithmeticFault)
            return;
    }
}

}  // namespace vornel
