// Chord response: how soon is a chord clicked during a Main part heard?
//
// A one-bar Main part (4/4, 1,920 ticks per quarter) strikes a note on every
// bar line. The player model plays it on a virtual clock through a recording
// port; every cue reaches the engine 30 ms after its stamp, as the built-in
// synthesizer reports a cue only after rendering the period that holds it
// (up to 23 ms at 1,024 frames) and the scheduler looks every 5 ms. Clicks
// fall every third bar, at phases spread evenly over the bar, each to another
// root; a click is heard when the first note of its root sounds.
//
// For each tempo it prints the share of clicks made at least the lead (150 ms)
// before a bar line that are heard from that bar line (the promise: 100 %),
// and the click-to-heard delay, beside the anchor: the same session with each bar
// queued half a bar ahead, as the engine used to.

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <deque>
#include <functional>
#include <utility>
#include <vector>

#include "platform/Clock.h"
#include "platform/Dispatcher.h"
#include "support/PlayerRig.h"

using namespace vornel;

namespace {

constexpr int kResolution = 1920;
constexpr int kBarTicks = kResolution * 4;
constexpr int kClicks = 120;
constexpr double kCueLatencyMs = 30.0;

struct Result {
    double shareOnTime = 0.0;  // of the clicks made at least the lead before a bar line
    int eligible = 0;
    std::vector<double> delays;
};

// The UI thread as the engine meets it: everything the component posts runs
// kCueLatencyMs after it was posted, in the order posted.
class LateDispatcher final : public Dispatcher {
public:
    void post(std::function<void()> fn) override { pending_.push_back({clock->nowMs() + kCueLatencyMs, std::move(fn)}); }
    void runDue() {
        while (!pending_.empty() && pending_.front().first <= clock->nowMs()) {
            auto fn = std::move(pending_.front().second);
            pending_.pop_front();
            fn();
        }
    }

    const Clock* clock = nullptr;  // the rig's, once it exists

private:
    std::deque<std::pair<double, std::function<void()>>> pending_;
};

Result session(double bpm, bool anchor) {
    LateDispatcher ui;
    test::PlayerRig rig(ui);
    ui.clock = &rig.clock;
    ManualClock& clock = rig.clock;
    MIDIOutput& out = rig.output;
    Player& player = rig.player;
    PlayerState& s = player.state();
    rig.loadTiming(kResolution, 4, 2, static_cast<std::uint32_t>(60e6 / bpm));
    rig.storePart(2, 0, kBarTicks, [](StyleData& style, int p) {
        style.storeEvent(p, 0x9B, 60, 100, 0, "", "");
        style.storeEvent(p, 0x9B, 60, 0, kBarTicks - kResolution, "", "");
    });
    player.Cmd_Part_Click(1);

    const double barMs = 4 * 60000.0 / bpm;
    if (anchor) s.LeadMs = barMs / 2;
    const auto advanceTo = [&](double ms) {
        while (clock.nowMs() < ms) {
            clock.advance(std::min(1.0, ms - clock.nowMs()));
            out.pump();
            ui.runDue();
        }
    };

    player.Cmd_Play_Click();
    struct Click {
        double at;
        int key;
    };
    std::vector<Click> clicks;
    for (int i = 0; i < kClicks; ++i) {
        const double phase = (i + 0.5) / kClicks;
        const double at = (3 * i + 1 + phase) * barMs;
        advanceTo(at);
        const int root = 1 + i % 5;  // C sharp .. F: never the root before
        player.Lbl_Chord_Click(root);
        clicks.push_back({clock.nowMs(), 60 + root});
    }
    advanceTo((3 * kClicks + 3) * barMs);

    const auto sent = rig.ports.log->snapshot();

    Result r;
    int onTime = 0;
    for (const Click& c : clicks) {
        double heard = -1;
        for (const auto& m : sent)
            if (m.atMs >= c.at && m.message.status == 0x9B && m.message.data2 > 0 && m.message.data1 == c.key) {
                heard = m.atMs;
                break;
            }
        if (heard < 0) continue;
        r.delays.push_back(heard - c.at);
        const double barLine = std::ceil(c.at / barMs - 1e-9) * barMs;
        if (barLine - c.at >= kChordLeadMs) {
            ++r.eligible;
            if (heard <= barLine + 1.0) ++onTime;
        }
    }
    r.shareOnTime = r.eligible ? 100.0 * onTime / r.eligible : 0.0;
    std::sort(r.delays.begin(), r.delays.end());
    return r;
}

double at(const std::vector<double>& v, double q) {
    return v.empty() ? 0.0 : v[static_cast<std::size_t>(q * static_cast<double>(v.size() - 1) + 0.5)];
}

}  // namespace

int main() {
    std::printf("Chord response: %d clicks spread over the bar, cues answered %.0f ms late; lead %.0f ms\n", kClicks,
                kCueLatencyMs, kChordLeadMs);
    std::printf("%-6s %-22s %10s %10s %12s %12s %12s %12s\n", "bpm", "rule", "eligible", "on time", "median ms",
                "p90 ms", "max ms", "mean ms");
    for (double bpm : {60.0, 120.0, 200.0}) {
        for (bool anchor : {false, true}) {
            const Result r = session(bpm, anchor);
            double mean = 0;
            for (double d : r.delays) mean += d;
            mean = r.delays.empty() ? 0 : mean / static_cast<double>(r.delays.size());
            std::printf("%-6.0f %-22s %10d %9.1f%% %12.0f %12.0f %12.0f %12.0f\n", bpm,
                        anchor ? "half bar ahead (old)" : "lead before bar line", r.eligible, r.shareOnTime,
                        at(r.delays, 0.5), at(r.delays, 0.9), r.delays.empty() ? 0.0 : r.delays.back(), mean);
        }
    }
    return 0;
}
