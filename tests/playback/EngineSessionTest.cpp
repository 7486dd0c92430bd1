#include <gtest/gtest.h>

#include "support/EngineSession.h"

namespace vornel {
namespace {

// Random sessions on generated styles: whatever the user does and whenever,
// every Note On gets exactly one switch-off, to its own key, never before it
// and never after its written end or Stop, in each of the three ways a
// chord change is heard.
TEST(EngineSessionTest, EveryNoteLivesItsWrittenLifeInRandomSessions) {
    std::size_t notes = 0;
    for (std::uint32_t seed = 1; seed <= 120; ++seed) {
        test::Choices choices(seed);
        const test::SessionReport r = test::playRandomSession(choices, 30);
        notes += r.notesPlayed;
        ASSERT_TRUE(r.faults.empty()) << "seed " << seed << ": " << r.faults.front() << "\n" << r.script;
    }
    EXPECT_GT(notes, 1000u) << "the sessions played music";
}

}  // namespace
}  // namespace vornel
