#include "player/StatusLine.h"

#include <filesystem>
#include <vector>

#include "player/PlayerState.h"
#include "player/StyleFileCheck.h"
#include "settings/Language.h"
#include "settings/StatusTexts.h"

namespace vornel {

namespace {

inline constexpr Rgb kStatusProblem{176, 0, 0};
inline constexpr Rgb kStatusNormal{0, 0, 0};
constexpr const char* kSeparator = "  ·  ";

std::string deviceName(const DeviceReport& device, int lang) {
    return device.builtIn ? statusText(lang, StatusText::BuiltInSynth) : device.name;
}

std::string loadProblemText(const LoadReport& load, int lang) {
    std::string problem;
    switch (load.problem) {
        case LoadReport::Problem::None:
            return {};
        case LoadReport::Problem::Unreadable:
            problem = statusText(lang, StatusText::Unreadable);
            break;
        case LoadReport::Problem::NotMidi:
            problem = statusText(lang, StatusText::NotMidi);
            break;
        case LoadReport::Problem::Damaged:
            problem =
                load.lastSection.empty()
                    ? statusText(lang, StatusText::DamagedNoSection)
                    : fillPlaceholder(statusText(lang, StatusText::DamagedAfter), load.lastSection);
            break;
    }
    return load.file.empty() ? problem : load.file + ": " + problem;
}

bool hasProblem(const PlayerState& s) {
    return s.device.state == DeviceReport::State::Failed ||
           s.load.problem != LoadReport::Problem::None;
}

}  // namespace

std::string statusLineText(const DeviceReport& device, const LoadReport& load, int lang) {
    // The file's problem answers what the user has just done; the device's
    // state follows, and a narrow window cuts that short first.
    std::vector<std::string> parts;
    if (std::string problem = loadProblemText(load, lang); !problem.empty())
        parts.push_back(std::move(problem));
    if (device.state == DeviceReport::State::Failed) {
        parts.push_back(device.builtIn ? statusText(lang, StatusText::NoSoundBuiltIn)
                                       : fillPlaceholder(statusText(lang, StatusText::NoSoundPort),
                                                         device.name));
    }
    if (device.state == DeviceReport::State::Open)
        parts.push_back(statusText(lang, StatusText::Device) + deviceName(device, lang));

    std::string line;
    for (const std::string& part : parts) line += (line.empty() ? "" : kSeparator) + part;
    return line;
}

void renewStatusLine(PlayerState& s, int lang) {
    s.StatusLine.caption = statusLineText(s.device, s.load, lang);
    // The whole line stays readable when the window cuts it short.
    s.StatusLine.toolTip = s.StatusLine.caption;
    s.StatusLine.colour = hasProblem(s) ? kStatusProblem : kStatusNormal;
}

// The reader keeps whatever it can make sense of and reports no damage, so
// the file's framing is looked at here; the sections that did arrive are the
// ones whose markers track 1 holds.
void reportLoadProblems(PlayerState& s, const std::string& path) {
    LoadReport report;
    report.file = std::filesystem::path(path).filename().string();
    switch (checkStyleFile(path)) {
        case StyleFileState::Whole:
            report.problem = LoadReport::Problem::None;
            break;
        case StyleFileState::Unreadable:
            report.problem = LoadReport::Problem::Unreadable;
            break;
        case StyleFileState::NotMidi:
            report.problem = LoadReport::Problem::NotMidi;
            break;
        case StyleFileState::Truncated:
            report.problem = LoadReport::Problem::Damaged;
            report.lastSection = lastSectionMarker(s.Midifile1);
            break;
    }
    s.load = std::move(report);
    renewStatusLine(s, s.language.LangNo);
}

}  // namespace vornel
