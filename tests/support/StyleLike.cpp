#include "support/StyleLike.h"

namespace vornel::test {

int styleNote(int sectionIndex, int channel) {
    return channel == 9 ? 36 + sectionIndex : 48 + sectionIndex + channel;
}

SmfBuilder styleLike(const StyleOptions& o, StyleLayout* layout) {
    StyleLayout out;
    out.beatTicks = static_cast<std::uint64_t>(o.division) * 4 >> o.timeSigDenExp;
    out.barTicks = out.beatTicks * static_cast<std::uint64_t>(o.timeSigNum);

    SmfBuilder file(0, o.division);
    TrackBuilder& t = file.addTrack();
    t.useRunningStatus(o.runningStatus);
    t.trackName(0, o.name + std::string(4, '\0'));
    if (!o.copyright.empty()) t.copyright(0, o.copyright);
    t.timeSignature(0, o.timeSigNum, o.timeSigDenExp)
        .tempo(0, o.tempo)
        .marker(0, "SFF1")
        .marker(0, "SInt")
        .gmOn(0)
        .xgOn(0);
    for (int ch : o.channels) {
        t.controlChange(0, ch, 0, ch == 9 ? 127 : 0)
            .controlChange(0, ch, 32, 0)
            .programChange(0, ch, ch == 9 ? 0 : 32 + ch)
            .controlChange(0, ch, 7, 100)
            .controlChange(0, ch, 10, 64);
    }
    out.setupEvents = t.eventCount();
    out.setupEndTick = static_cast<std::uint64_t>(o.setupBars) * out.barTicks;

    // Ticks still to go before the next event is written.
    std::uint64_t pending = out.setupEndTick - t.tick();
    auto delta = [&pending]() {
        const auto d = static_cast<std::uint32_t>(pending);
        pending = 0;
        return d;
    };
    int previous = -1;  // section whose note-offs are still due
    for (std::size_t s = 0; s < o.sections.size(); ++s) {
        const int index = static_cast<int>(s);
        if (previous >= 0)
            for (int ch : o.channels) t.noteOn(delta(), ch, styleNote(previous, ch), 0);
        StyleSectionLayout section{o.sections[s].name, t.tick() + pending, 0, 0};
        t.marker(delta(), section.name).text(0, "fn:" + section.name + std::string(1, '\0'));
        const int beats = o.sections[s].bars * o.timeSigNum;
        for (int beat = 0; beat < beats; ++beat) {
            if (beat > 0)
                for (int ch : o.channels) t.noteOn(delta(), ch, styleNote(index, ch), 0);
            for (int ch : o.channels) t.noteOn(delta(), ch, styleNote(index, ch), 100);
            pending = out.beatTicks;
        }
        section.noteEvents = 2 * beats * static_cast<int>(o.channels.size());
        if (s > 0) out.sections.back().endTick = section.startTick;
        out.sections.push_back(section);
        previous = index;
    }
    if (previous >= 0) {
        for (int ch : o.channels) t.noteOn(delta(), ch, styleNote(previous, ch), 0);
        out.sections.back().endTick = t.tick();
    }
    t.endOfTrack(delta());
    out.trackEvents = t.eventCount();
    if (o.foreignChunks) file.styleChunks();
    if (layout) *layout = out;
    return file;
}

}  // namespace vornel::test
