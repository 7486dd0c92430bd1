#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

#include "rtf/RtfTestText.h"
#include "support/TempDir.h"
#include "windows/HelpForm.h"
#include "windows/PlayerBeside.h"

namespace vornel {
namespace {

using Kind = test::DialogCall::Kind;
using Paths = std::vector<std::string>;

// The help window beside a player window, reading through a reader that
// records each path and answers `answer`.
class HelpFormTest : public ::testing::Test, protected test::PlayerBeside {
protected:
    HelpFormTest() {
        wire(help);
        player.windows.showHelp = [this] { help.showFromPlayer(player.state().Cmd_Help.caption); };
    }

    HelpForm::DocumentReader recordingReader() {
        return [this](const std::string& path) {
            paths.push_back(path);
            return answer;
        };
    }
    void wire(HelpForm& form) {
        form.hidePlayer = [this] {
            ++playerHidden;
            player.Hide();
        };
        form.showPlayer = [this, &form] {
            helpVisibleWhenPlayerShown = form.window.visible;
            player.Show();
        };
    }
    void setLanguage(int lang) { language.LangNo = static_cast<std::int16_t>(lang); }

    Paths paths;
    RtfResult answer{RtfStatus::Ok, test::documentOf("Open a style, then Play.")};
    HelpForm help{language, dialogs, "/opt/vornel", recordingReader()};
    int playerHidden = 0;
    bool helpVisibleWhenPlayerShown = false;
};

TEST_F(HelpFormTest, TheDocumentIsTheHelpCaptionOfTheCurrentLanguageInTheProgramFolder) {
    EXPECT_TRUE(help.prepareDocument());
    setLanguage(kLangEnglish);
    EXPECT_TRUE(help.prepareDocument());
    setLanguage(kLangTurkish);
    EXPECT_TRUE(help.prepareDocument());
    EXPECT_EQ(paths,
              (Paths{"/opt/vornel/Yardım.rtf", "/opt/vornel/Help.rtf", "/opt/vornel/Yardım.rtf"}));

    // How the folder is written does not change where the document is looked for.
    const struct {
        const char* folder;
        const char* path;
    } folders[] = {
        {"/opt/vornel/", "/opt/vornel/Yardım.rtf"}, {"/", "/Yardım.rtf"}, {"", "Yardım.rtf"}};
    for (const auto& f : folders) {
        paths.clear();
        HelpForm other{language, dialogs, f.folder, recordingReader()};
        other.prepareDocument();
        EXPECT_EQ(paths, (Paths{f.path})) << "folder '" << f.folder << "'";
    }
}

TEST_F(HelpFormTest, EnglishWithOnlyTheTurkishDocumentPresentTellsTheUserAndKeepsTheDocument) {
    test::TempDir folder;
    std::ofstream(folder.file("Yardım.rtf")) << "{\\rtf1\\ansi Bir stil a\\'e7 ve oynat.\\par}";
    HelpForm onDisk{language, dialogs, folder.path().string()};
    wire(onDisk);

    ASSERT_TRUE(onDisk.prepareDocument());
    EXPECT_EQ(dialogs.count(Kind::MessageBox), 0u);
    ASSERT_FALSE(onDisk.document().paragraphs.empty());
    const RichText turkish = onDisk.document();
    const auto revision = onDisk.documentRevision();

    setLanguage(kLangEnglish);
    EXPECT_FALSE(onDisk.prepareDocument());
    const auto boxes = dialogs.of(Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "The help file couldn't be found");
    EXPECT_EQ(boxes[0].title, "Vornel");
    EXPECT_EQ(boxes[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(onDisk.document(), turkish);
    EXPECT_EQ(onDisk.documentRevision(), revision);

    // The English document added later is found by the next preparation; an
    // empty reader stands for the program's own.
    std::ofstream(folder.file("Help.rtf")) << "{\\rtf1\\ansi Open a style and play.\\par}";
    HelpForm fallback{language, dialogs, folder.path().string(), {}};
    EXPECT_TRUE(fallback.prepareDocument());
    EXPECT_FALSE(fallback.document().paragraphs.empty());
    EXPECT_NE(fallback.document(), turkish);
}

TEST_F(HelpFormTest, EveryFailureToReadIsTheHelpFileMessageAndTheAreaKeepsWhatItShowed) {
    // At first start the area stays empty, and the window can still be shown.
    answer = {RtfStatus::Missing, {}};
    EXPECT_FALSE(help.prepareDocument());
    EXPECT_TRUE(help.created);
    EXPECT_TRUE(help.document().paragraphs.empty());
    EXPECT_EQ(help.documentRevision(), 0u);
    help.showFromPlayer("Yardım");
    EXPECT_TRUE(help.window.visible);

    answer = {RtfStatus::Ok, test::documentOf("Open a style, then Play.")};
    ASSERT_TRUE(help.prepareDocument());
    const RichText shown = help.document();
    const struct {
        int lang;
        const char* text;
    } languages[] = {{kLangTurkish, "Yadım dosyası bulunamıyor"},
                     {kLangEnglish, "The help file couldn't be found"}};
    for (const auto& l : languages) {
        for (RtfStatus status : {RtfStatus::Missing, RtfStatus::Unreadable, RtfStatus::NotRtf}) {
            dialogs.clear();
            setLanguage(l.lang);
            answer = {status, {}};
            EXPECT_FALSE(help.prepareDocument());
            const auto boxes = dialogs.of(Kind::MessageBox);
            ASSERT_EQ(boxes.size(), 1u) << static_cast<int>(status);
            EXPECT_EQ(boxes[0].text, l.text);
            EXPECT_EQ(boxes[0].title, "Vornel");
            EXPECT_EQ(boxes[0].icon, MessageIcon::Exclamation);
            EXPECT_EQ(help.document(), shown);
            EXPECT_EQ(help.documentRevision(), 1u);
        }
    }
}

TEST_F(HelpFormTest, ADocumentReadReplacesTheShownOneAndCountsOnlyRealChanges) {
    EXPECT_EQ(help.documentRevision(), 0u);
    ASSERT_TRUE(help.prepareDocument());
    EXPECT_EQ(help.document(), test::documentOf("Open a style, then Play."));
    EXPECT_EQ(help.documentRevision(), 1u);

    ASSERT_TRUE(help.prepareDocument());
    EXPECT_EQ(help.documentRevision(), 1u) << "the same document again is no change";

    answer = {RtfStatus::Ok, test::documentOf("Bir stil açın, sonra Oynat.")};
    ASSERT_TRUE(help.prepareDocument());
    EXPECT_EQ(help.document(), test::documentOf("Bir stil açın, sonra Oynat."));
    EXPECT_EQ(help.documentRevision(), 2u);

    // A document that reads as empty is still a document: it replaces the text.
    answer = {RtfStatus::Ok, {}};
    ASSERT_TRUE(help.prepareDocument());
    EXPECT_TRUE(help.document().paragraphs.empty());
    EXPECT_EQ(help.documentRevision(), 3u);
    EXPECT_EQ(dialogs.count(Kind::MessageBox), 0u);
}

TEST_F(HelpFormTest, CreatingTheWindowHidesThePlayerOnceAndPaintsTheDocumentAreaWhite) {
    EXPECT_FALSE(help.created);
    EXPECT_FALSE(help.window.visible);
    EXPECT_EQ(help.window.colour, (Rgb{0x40, 0x40, 0x40}));

    help.prepareDocument();
    EXPECT_TRUE(help.created);
    EXPECT_EQ(playerHidden, 1);
    EXPECT_FALSE(playerVisible());
    EXPECT_EQ(help.OLE1.colour, (Rgb{0xFF, 0xFF, 0xFF}));
    EXPECT_FALSE(help.window.visible) << "preparing does not show the window";

    // The setup window's OK shows the player; later preparations and the Help
    // command leave it in view.
    player.Show();
    help.prepareDocument();
    player.Cmd_Help_Click();
    EXPECT_EQ(playerHidden, 1);
    EXPECT_TRUE(playerVisible());
    EXPECT_TRUE(help.window.visible);
}

TEST_F(HelpFormTest, TheHelpCommandTitlesTheWindowAfterItsOwnCaptionAsItReadsNow) {
    help.prepareDocument();
    player.Show();

    setLanguage(kLangEnglish);
    relabelHelpCommand();
    player.Cmd_Help_Click();
    EXPECT_EQ(help.window.caption, "Vornel - Help");
    EXPECT_EQ(help.Command1.caption, "Ok");
    EXPECT_TRUE(help.window.visible);

    help.Command1_Click();
    setLanguage(kLangTurkish);
    relabelHelpCommand();
    player.Cmd_Help_Click();
    EXPECT_EQ(help.window.caption, "Vornel - Yardım");
    EXPECT_EQ(help.Command1.caption, "Tamam");
}

TEST_F(HelpFormTest, TheHelpCommandBeforeAnyPreparationCreatesTheWindowAndHidesThePlayer) {
    player.Cmd_Help_Click();
    EXPECT_TRUE(help.created);
    EXPECT_EQ(playerHidden, 1);
    EXPECT_FALSE(playerVisible());
    EXPECT_TRUE(help.window.visible);
    EXPECT_EQ(help.window.caption, "Vornel - Yardım");
    EXPECT_TRUE(paths.empty()) << "showing reads nothing";
}

TEST_F(HelpFormTest, OkShowsThePlayerFirstThenHidesTheHelpWindowEvenWhenThePlayerWasHidden) {
    player.Cmd_Help_Click();
    ASSERT_FALSE(playerVisible());
    help.Command1_Click();
    EXPECT_TRUE(helpVisibleWhenPlayerShown);
    EXPECT_TRUE(playerVisible());
    EXPECT_FALSE(help.window.visible);

    player.Hide();
    help.Command1_Click();
    EXPECT_TRUE(playerVisible()) << "a second OK still brings the player back";
}

TEST_F(HelpFormTest, WithoutCollaboratorsEveryHandlerStillDoesItsOwnPart) {
    HelpForm alone{language, dialogs, "/opt/vornel", recordingReader()};
    EXPECT_TRUE(alone.prepareDocument());
    alone.showFromPlayer("Yardım");
    EXPECT_TRUE(alone.window.visible);
    alone.Command1_Click();
    EXPECT_FALSE(alone.window.visible);
    EXPECT_TRUE(playerVisible());
}

TEST_F(HelpFormTest, ALanguageWithoutTextsHasNoDocumentToRead) {
    setLanguage(2);
    EXPECT_FALSE(help.prepareDocument());
    EXPECT_TRUE(paths.empty()) << "no hidden \".rtf\" is looked for";
    const auto boxes = dialogs.of(Kind::MessageBox);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].title, "Vornel");
    EXPECT_EQ(boxes[0].icon, MessageIcon::Exclamation);
    EXPECT_EQ(boxes[0].text, "") << "the third language holds no texts";
}

}  // namespace
}  // namespace vornel
