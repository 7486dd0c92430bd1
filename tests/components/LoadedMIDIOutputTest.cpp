#include "components/LoadedMIDIOutput.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <vector>

#include "components/ComponentLocation.h"
#include "components/ComponentTestSupport.h"
#include "midi/output/ports/RtMidiPort.h"
#include "midi/output/synth/BuiltInSynth.h"
#include "support/OutputCalls.h"

namespace vornel {
namespace {

using test::drainUntil;
using test::waitForPost;
using Tags = std::vector<std::int32_t>;

// The output component from its module, on this machine's devices, with no
// port open: queued messages go nowhere, but their cues still come back,
// through the program's dispatcher, which the test drains.
class LoadedMIDIOutputTest : public ::testing::Test {
protected:
    void SetUp() override {
        api = test::loadedApi(kMidiOutputComponent);
        ASSERT_NE(api, nullptr);
        output = LoadedMIDIOutput::create(*api, ui);
        ASSERT_NE(output, nullptr);
        output->CueReached = [this](std::int32_t tag) { cues.push_back(tag); };
        output->QueueDone = [this] { ++done; };
    }

    void queueCue(double ms, std::int32_t tag) { test::queueMessage(*output, ms, 144, 36, 0, tag); }
    void start() { output->PortCommand(MIDIOutputComponent::StartQueue); }

    QueueDispatcher ui;  // before the component, which posts to it
    const VornelComponentApi* api = nullptr;
    std::unique_ptr<LoadedMIDIOutput> output;
    Tags cues;
    int done = 0;
};

TEST_F(LoadedMIDIOutputTest, ShowsThisMachinesDevices) {
    EXPECT_EQ(output->PortCount(), SystemMidiPorts().count());
    output->PortNumber(-1);
    EXPECT_EQ(output->PortNumber(), -1);
    EXPECT_EQ(output->PortName(), BuiltInSynth::name());
    output->DataByte1(64);
    EXPECT_EQ(output->DataByte1(), 64);
    // A device that does not exist fails to open without a word.
    output->PortNumber(1000);
    output->PortCommand(MIDIOutputComponent::OpenPort);
    EXPECT_EQ(output->PortIsOpen(), 0);
    // Without a way to post, no event could reach the program.
    EXPECT_EQ(api->create(nullptr), nullptr);
}

TEST_F(LoadedMIDIOutputTest, ReportsCuesInStampOrderAndLetsTheirHandlerQueueMore) {
    output->CueReached = [this](std::int32_t tag) {
        cues.push_back(tag);
        if (tag == 11) {
            queueCue(40, 33);
            start();  // already playing: plays on
        }
    };
    queueCue(30, 22);
    queueCue(10, 11);
    start();
    ASSERT_TRUE(drainUntil(ui, [&] { return done > 0; }));
    EXPECT_EQ(cues, (Tags{11, 22, 33}));
    EXPECT_EQ(done, 1);
}

TEST_F(LoadedMIDIOutputTest, QueueTimeAndWithdrawQueuedReachTheModule) {
    EXPECT_EQ(output->QueueTime(), 0.0);
    queueCue(0, 1);
    queueCue(60000, 2);  // taken back before it is due
    output->CueTime(30000);
    output->PortCommand(MIDIOutputComponent::WithdrawQueued);
    start();
    ASSERT_TRUE(drainUntil(ui, [&] { return done > 0; }));
    EXPECT_EQ(cues, Tags{1});
    EXPECT_TRUE(test::eventually([&] { return output->QueueTime() > 0.0; })) << "the clock runs";
}

TEST_F(LoadedMIDIOutputTest, StopQueueDropsCuesAlreadyOnTheirWay) {
    queueCue(0, 5);
    start();
    ASSERT_TRUE(waitForPost(ui));  // the cue is posted, not yet delivered
    output->PortCommand(MIDIOutputComponent::StopQueue);
    ui.drain();
    EXPECT_EQ(cues, Tags{});
    EXPECT_EQ(done, 0);
    // The next start begins afresh, with only what is queued from now on.
    queueCue(0, 6);
    start();
    ASSERT_TRUE(drainUntil(ui, [&] { return done > 0; }));
    EXPECT_EQ(cues, Tags{6});
}

TEST_F(LoadedMIDIOutputTest, AFailingHandlerFailsInTheProgramAndTheComponentPlaysOn) {
    auto record = output->CueReached;
    output->CueReached = [](std::int32_t) { throw std::runtime_error("handler"); };
    queueCue(0, 7);
    start();
    ASSERT_TRUE(waitForPost(ui));
    EXPECT_THROW(ui.drain(), std::runtime_error);

    output->CueReached = record;
    output->PortCommand(MIDIOutputComponent::StopQueue);
    queueCue(0, 8);
    start();
    ASSERT_TRUE(drainUntil(ui, [&] { return !cues.empty(); }));
    EXPECT_EQ(cues, Tags{8});
}

TEST_F(LoadedMIDIOutputTest, EventsLeftBehindByAComponentThatIsGoneDoNothing) {
    queueCue(0, 9);
    start();
    ASSERT_TRUE(waitForPost(ui));
    output.reset();
    ui.drain();
    EXPECT_EQ(cues, Tags{});
}

}  // namespace
}  // namespace vornel
