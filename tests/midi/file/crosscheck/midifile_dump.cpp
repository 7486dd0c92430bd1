// Prints what the MIDI file reader component shows of a file, in the text form
// that mido_dump.py writes from mido, so the two can be compared line by line:
//
//   tracks=<n> resolution=<r> tempo=<us> timesig=<num>/<den exp>
//   track <t> events=<n>
//   t=<absolute tick> st=<status, hex> d1=<data 1> d2=<data 2>[ text="<text>"][ sysex=<hex>]
//
// Only the component's properties are read, the way a host program reads
// them: a meta event's type is its data 1, text and sysex are left out when
// the component reports them empty.
#include <cstdint>
#include <cstdio>
#include <iostream>
#include <string>

#include "midi/file/Midifile.h"

namespace {

// Printable ASCII as it is (but for the quote and the backslash), everything
// else as \xHH, so texts padded with or holding control bytes stay readable
// in a diff and compare byte for byte.
std::string escapedText(const std::string& text) {
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte >= 0x20 && byte <= 0x7E && byte != '"' && byte != '\\') {
            out.push_back(c);
        } else {
            char hex[5];
            std::snprintf(hex, sizeof hex, "\\x%02X", byte);
            out += hex;
        }
    }
    return out;
}

std::string hexBytes(const std::string& bytes) {
    std::string out;
    for (const char c : bytes) {
        char hex[4];
        std::snprintf(hex, sizeof hex, "%02X", static_cast<unsigned char>(c));
        if (!out.empty()) out.push_back(' ');
        out += hex;
    }
    return out;
}

void dump(vornel::Midifile& file, std::ostream& out) {
    out << "tracks=" << file.TrackCount() << " resolution=" << file.Resolution()
        << " tempo=" << file.Tempo() << " timesig=" << file.TimeSigNum() << '/'
        << file.TimeSigDenExp() << '\n';
    for (std::int32_t track = 1; track <= file.TrackCount(); ++track) {
        file.Track(track);
        const std::int32_t count = file.EventCount();
        out << "track " << track << " events=" << count << '\n';
        std::int64_t tick = 0;
        for (std::int32_t index = 1; index <= count; ++index) {
            file.EventIndex(index);
            tick += file.EvDelta();
            char head[64];
            std::snprintf(head, sizeof head, "t=%lld st=%02X d1=%d d2=%d",
                          static_cast<long long>(tick), static_cast<unsigned>(file.EvStatus()),
                          file.EvData1(), file.EvData2());
            out << head;
            if (const std::string text = file.EvText(); !text.empty())
                out << " text=\"" << escapedText(text) << '"';
            if (const std::string sysEx = file.EvSysEx(); !sysEx.empty())
                out << " sysex=" << hexBytes(sysEx);
            out << '\n';
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: " << argv[0] << " <MIDI file>\n";
        return 2;
    }
    vornel::Midifile file;
    file.FileName(argv[1]);
    file.FileAction(vornel::Midifile::kActionOpen);
    // A file the component cannot read shows zero tracks and the default
    // values; that is printed like any other result and left to the compare.
    dump(file, std::cout);
    std::cout.flush();
    return std::cout ? 0 : 1;
}
