// Played messages into the output component, as the module's entry point
// carries them: packed into one number, sent at once beside the queue.

#include <gtest/gtest.h>

#include <thread>

#include "midi/output/MIDIOutput.h"
#include "support/RecordingPort.h"

namespace vornel {
namespace {

TEST(LiveMessage, PackedMessageReachesThePortAtOnceAndInvalidOnesNever) {
    ManualClock clock;
    QueueDispatcher ui;
    test::RecordingPortProvider ports{clock};
    MIDIOutput output{ports, ui, clock, MIDIOutput::Drive::Manual};
    output.PortNumber(0);
    output.PortCommand(MIDIOutput::OpenPort);

    // From another thread, as a MIDI input's callback sends.
    std::thread input([&] {
        output.set(MIDIOutputComponent::kLiveMessage, LiveSink::pack(0x91, 60, 100));
        output.set(MIDIOutputComponent::kLiveMessage, LiveSink::pack(0xB1, 64, 127));
        output.set(MIDIOutputComponent::kLiveMessage, LiveSink::pack(0x91, 60, 200));  // velocity out of range
        output.sendLive(0xF0, 1, 2);                                                   // no system messages
        output.set(MIDIOutputComponent::kLiveMessage, 0.5);                            // truncated: status 0
    });
    input.join();

    const auto sent = ports.log->snapshot();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0].message.status, 0x91);
    EXPECT_EQ(sent[0].message.data1, 60);
    EXPECT_EQ(sent[0].message.data2, 100);
    EXPECT_EQ(sent[1].message.status, 0xB1);
    EXPECT_EQ(output.stats().refused, 3u);
}

}  // namespace
}  // namespace vornel
