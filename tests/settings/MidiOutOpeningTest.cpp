#include <gtest/gtest.h>

#include <vector>

#include "FakeOutput.h"
#include "settings/MidiOutOpening.h"
#include "support/RecordingDialogs.h"

namespace vornel {
namespace {

using test::FakeOutput;
using Write = FakeOutput::Write;
const Write closes{Write::Kind::Command, MIDIOutputComponent::ClosePort};
const Write opens{Write::Kind::Command, MIDIOutputComponent::OpenPort};
Write selects(int device) {
    return {Write::Kind::Number, device};
}

// The OK path ignores the result; it still tells a failed open from the rest.
TEST(MidiOutOpeningTest, ResultIsZeroOnlyWhenAListedDeviceFailedToOpen) {
    test::RecordingDialogs dialogs;
    for (int position : {0, 1, 2}) {
        for (bool fails : {false, true}) {
            FakeOutput output;
            if (fails) output.failing = {position - 1};
            EXPECT_EQ(ApplyMidiOut(output, dialogs, static_cast<std::int16_t>(position), position),
                      fails && position > 0 ? 0 : 1)
                << position << (fails ? " failing" : " working");
        }
    }
    EXPECT_EQ(dialogs.count(test::RecordingDialogs::Kind::MessageBox), 2u);
}

TEST(MidiOutOpeningTest, TheBuiltInDeviceSelectedIsClosedFirstAndNoSelectionOnlyCloses) {
    FakeOutput output;
    output.number = -1;
    OpenMidiOut(output, 2);
    EXPECT_EQ(output.log, (std::vector<Write>{closes, selects(1), opens}));

    test::RecordingDialogs dialogs;
    output.log.clear();
    EXPECT_EQ(ApplyMidiOut(output, dialogs, -1, -1), 1);
    EXPECT_EQ(output.log, (std::vector<Write>{closes}));
    EXPECT_TRUE(dialogs.calls.empty());
}

}  // namespace
}  // namespace vornel
