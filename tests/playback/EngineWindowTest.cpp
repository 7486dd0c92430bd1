// The engine on its own, with a window of the test's making: everything it
// shows goes through the window's interface, at the moment it is heard.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "playback/Engine.h"
#include "playback/EngineTestSupport.h"
#include "playback/NoteSilencing.h"
#include "playback/PartSequencing.h"
#include "support/PlayerFixture.h"

namespace vornel {
namespace {

using test::mark;
using test::release;

constexpr int kMainB = 6;  // button

// A window that offers only Main B and writes down what the engine asks.
class RecordingWindow final : public EngineWindow {
public:
    RecordingWindow(Engine& engine, const ManualClock& clock) : engine_(engine), clock_(clock) {}
    // Shown once: each chunk queued says it again.
    void showPlaying() override {
        if (!playing_) calls.push_back(at("playing"));
        playing_ = true;
    }
    void showStopped() override {
        calls.push_back(at("stopped"));
        playing_ = false;
    }
    void showChosen() override { calls.push_back(at("chosen")); }
    bool pressPart(int button) override {
        calls.push_back(at("press " + std::to_string(button)));
        if (button != kMainB) return false;
        engine_.CurPart = kMainB + 1;
        engine_.PartName = "Main B";
        return true;
    }
    void raiseMeter(int channel, int velocity) override {
        calls.push_back(at("meter " + std::to_string(channel) + " " + std::to_string(velocity)));
    }
    void reportNoData() override { calls.push_back(at("no data")); }
    void reportUnknownError() override { calls.push_back(at("error")); }
    std::vector<std::string> calls;

private:
    std::string at(const std::string& what) const { return std::to_string(int(clock_.nowMs())) + " " + what; }
    Engine& engine_;
    const ManualClock& clock_;
    bool playing_ = false;
};

class EngineWindowTest : public ::testing::Test, protected test::PlayerFixture {
protected:
    EngineWindowTest() {
        test::loadTiming(reader, {});
        output.CueReached = [this](std::int32_t tag) { MIDIOutput1_CueReached(engine, tag); };
        output.QueueDone = [this] { MIDIOutput1_QueueDone(engine); };
    }
    // No window variables, no controls: only the engine and its interface.
    RecordingWindow window{engine, clock};
    Engine engine{reader, output, style, window};
};

// A fill leads into the Main part the window offers (the one its table names
// is refused); the window hears of it when that part's first bar starts, not
// when it is pressed; each note raises its meter as it sounds; Stop shows
// the window stopped.
TEST_F(EngineWindowTest, TheWindowLearnsOfEachChangeWhenItIsHeard) {
    test::storePart(state, 3, 0, 384, {mark(60, 0), release(60, 300)});
    test::storePart(state, 7, 1000, 1384, {mark(62, 0, 13), release(62, 300, 13)});
    engine.CurPart = 3;
    engine.PartName = "Fill In AA";
    startPlayback(engine, false);
    runTo(390);
    StopRitm(engine);
    EXPECT_EQ(window.calls,
              (std::vector<std::string>{"0 playing", "0 press 1", "0 press 1", "0 press 6", "0 meter 12 100",
                                        "384 chosen", "384 meter 13 100", "390 stopped"}));
    EXPECT_EQ(engine.Playing, 0);
}

}  // namespace
}  // namespace vornel
