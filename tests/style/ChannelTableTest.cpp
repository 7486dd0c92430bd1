// A style's channel table in the style model: records by section, filled by
// loading.
#include <gtest/gtest.h>

#include "midi/MidiVocabulary.h"
#include "style/ChannelTable.h"
#include "style/StyleLoading.h"
#include "support/CasmBuilder.h"
#include "support/PlayerFixture.h"
#include "support/StyleLike.h"

namespace vornel {
namespace {

ChannelRecord recordOf(int source, int destination) {
    ChannelRecord r;
    r.sourceChannel = static_cast<std::uint8_t>(source);
    r.destination = static_cast<std::uint8_t>(destination);
    return r;
}

constexpr int kMainA = 2, kMainB = 7, kIntroA = 1, kFillBA = 18;

TEST(ChannelTable, SectionsAreMatchedByNameAndTheFirstSegmentNamingOneWins) {
    CasmTable casm;
    casm.segments.push_back({{"Main A", "main b", "Outro Z"}, {recordOf(10, 10), recordOf(2, 12)}});
    casm.segments.push_back({{"Main A", "Intro A"}, {recordOf(9, 9)}});
    ChannelTable table;
    table.fill(casm);
    EXPECT_TRUE(table.present());
    ASSERT_EQ(table.records(kMainA).size(), 2u);
    EXPECT_EQ(table.records(kMainB).size(), 2u);
    ASSERT_NE(table.forSource(kMainA, 2), nullptr);
    EXPECT_EQ(table.forSource(kMainA, 2)->destination, 12);
    EXPECT_EQ(table.forSource(kMainA, 9), nullptr);
    ASSERT_NE(table.forSource(kIntroA, 9), nullptr);
    EXPECT_FALSE(table.covers(kFillBA));

    table.fill(CasmTable{{{{"Nothing"}, {recordOf(9, 9)}}}});
    EXPECT_FALSE(table.present());
    EXPECT_TRUE(table.records(kMainA).empty());
}

class ChannelTableLoadingTest : public ::testing::Test, protected test::PlayerFixture {};

TEST_F(ChannelTableLoadingTest, LoadingFillsTheTableAndTheNextStyleReplacesIt) {
    test::StyleOptions o;
    o.foreignChunks = false;
    o.sections = {{"Main A", 1}, {"Main B", 1}};
    test::CasmBuilder casm;
    test::RecordFields bass;
    casm.segment("Main A").ctab(bass);
    test::SmfBuilder withTable = test::styleLike(o);
    withTable.chunk("CASM", casm.body());
    LoadFile(state, writeFile(withTable, "table.sty"));
    ASSERT_TRUE(style.channels.present());
    EXPECT_TRUE(style.channels.covers(kMainA));
    EXPECT_FALSE(style.channels.covers(kMainB));
    ASSERT_NE(style.channels.forSource(kMainA, bass.source), nullptr);

    // The builder's own CASM holds one record, with no valid destination: a
    // table with nothing usable in it plays as no table.
    o.foreignChunks = true;
    LoadFile(state, writeFile(test::styleLike(o), "plain.sty"));
    EXPECT_FALSE(style.channels.present());
    EXPECT_TRUE(style.channels.records(kMainA).empty());
}

// Each part gets its instrument on the channel it plays on; a channel the
// table does not route is not set up (it may be the one played live).
TEST_F(ChannelTableLoadingTest, SetUpMessagesGoWhereTheirSourcePlays) {
    test::StyleOptions o;
    o.foreignChunks = false;
    o.channels = {2, 5};
    test::CasmBuilder casm;
    test::RecordFields bass;
    bass.source = 2;
    bass.destination = 11;
    casm.segment("Main A").ctab(bass);
    test::SmfBuilder file = test::styleLike(o);
    file.chunk("CASM", casm.body());
    LoadFile(state, writeFile(file, "routed.sty"));
    std::vector<int> programChannels;
    for (const test::SentMessage& m : sent())
        if (midi::isProgramChange(m.message.status)) programChannels.push_back(midi::channelOf(m.message.status) + 1);
    ASSERT_FALSE(programChannels.empty());
    for (int channel : programChannels) EXPECT_EQ(channel, 12);
}

}  // namespace
}  // namespace vornel
