#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "support/SmfBuilder.h"

namespace vornel::test {

struct StyleSection {
    std::string name;  // the marker text, "Main A", "Fill In AA", ...
    int bars = 1;
};

// What a keyboard style file looks like, reduced to what loading reads.
struct StyleOptions {
    int division = 1920;
    int timeSigNum = 4;
    int timeSigDenExp = 2;
    std::uint32_t tempo = 500000;
    std::string name = "Vornel Test";  // track name; written with NULs after it
    std::string copyright;             // no copyright event when empty
    int setupBars = 1;                 // length of the "SInt" set-up section
    std::vector<StyleSection> sections = {{"Main A", 2}};
    // 0-based channels that play; each beat of each section holds one note
    // per channel (see StyleLayout).
    std::vector<int> channels = {8, 9, 10, 11};
    bool runningStatus = true;  // as keyboards write them
    bool foreignChunks = true;  // CASM, OTSc, FNRc and AASM after the track
};

struct StyleSectionLayout {
    std::string name;
    std::uint64_t startTick = 0;  // tick of its marker
    std::uint64_t endTick = 0;    // tick of the next marker, or of the last note-off
    int noteEvents = 0;           // note-ons and closing note-ons with velocity 0
};

// Where things landed in the file built by styleLike().
struct StyleLayout {
    std::uint64_t barTicks = 0;
    std::uint64_t beatTicks = 0;
    std::uint64_t setupEndTick = 0;  // the first section marker's tick
    int setupEvents = 0;             // events before the first section marker
    int trackEvents = 0;             // every event of the track, End-of-Track included
    std::vector<StyleSectionLayout> sections;
};

// The note that a section plays on a channel: sections differ by note, so a
// test can tell which section an event came from.
int styleNote(int sectionIndex, int channel);

// A format 0 style file with one track:
//   tick 0: track name (NUL-padded), copyright if given, time signature,
//           tempo, markers "SFF1" and "SInt", GM On and XG On system
//           exclusive, then per channel bank select (MSB 127 on channel 9,
//           the drums, else 0), LSB 0, program change, volume 100, pan 64;
//   then per section: its marker, a text "fn:<name>\0", and for every beat
//   one note-on (velocity 100) per channel, switched off by a note-on with
//   velocity 0 at the next beat. The last note-offs of a section lie on the
//   next section's marker tick, before the marker;
//   End-of-Track after the last note-offs;
// followed by the foreign chunks of a keyboard style.
SmfBuilder styleLike(const StyleOptions& options = {}, StyleLayout* layout = nullptr);

}  // namespace vornel::test
