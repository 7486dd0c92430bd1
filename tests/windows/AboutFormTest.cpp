#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "windows/AboutForm.h"
#include "windows/PlayerBeside.h"

namespace vornel {
namespace {

using Kind = test::DialogCall::Kind;

// The about window beside a player window, its link opening into a list.
class AboutFormTest : public ::testing::Test, protected test::PlayerBeside {
protected:
    AboutFormTest() {
        about.showPlayer = [this] {
            aboutVisibleWhenPlayerShown = about.window.visible;
            player.Show();
        };
        about.openUrl = [this](const std::string& address) {
            opened.push_back(address);
            return browserStarts;
        };
        player.windows.showAbout = [this] { about.Show(); };
    }

    void expectFixedTexts() const {
        EXPECT_EQ(about.Label8.caption, "Vornel");
        EXPECT_EQ(about.Label1.caption, "Version 1.5 Beta");
        EXPECT_EQ(about.Label7.caption, "© 2026 Halvex");
        EXPECT_EQ(about.Lbl_Ab_Web.caption, "Web:   https://www.halvex.org/vornel");
    }

    AboutForm about{dialogs};
    std::vector<std::string> opened;
    bool browserStarts = true;
    bool aboutVisibleWhenPlayerShown = false;
};

TEST_F(AboutFormTest, EachLanguageTitlesTheWindowWritesTheContactLineAndPlacesTheLink) {
    constexpr const char* kEnglishContact = "Questions and suggestions:   vornel@halvex.org";
    constexpr const char* kTurkishContact = "Soru ve önerileriniz için:   vornel@halvex.org";
    // In order: a language with no place of its own (the empty third one, or
    // a number outside the table) leaves the link where the last one put it.
    const struct {
        int lang;
        const char* title;
        const char* contact;
        const char* ok;
        int left;
    } steps[] = {
        {kLangEnglish, "Vornel - About", kEnglishContact, "Ok", 2655},
        {2, "Vornel - ", "", "", 2655},
        {kLangTurkish, "Vornel - Hakkında", kTurkishContact, "Tamam", 1830},
        {3, "Vornel - ", "", "", 1830},
        {-1, "Vornel - ", "", "", 1830},
        {kLangEnglish, "Vornel - About", kEnglishContact, "Ok", 2655},
    };
    EXPECT_FALSE(about.window.visible) << "created hidden";
    for (const auto& step : steps) {
        about.relabel(language.table, step.lang);
        EXPECT_EQ(about.window.caption, step.title) << step.lang;
        EXPECT_EQ(about.Lbl_Ab_Mail.caption, step.contact) << step.lang;
        EXPECT_EQ(about.Cmd_Ab_Ok.caption, step.ok) << step.lang;
        EXPECT_EQ(about.Lbl_Ab_Web_Left, step.left) << step.lang;
        expectFixedTexts();
    }
    EXPECT_FALSE(about.window.visible) << "relabelling does not show the window";

    // The Language overload relabels in its current language.
    language.LangNo = kLangTurkish;
    about.relabel(language);
    EXPECT_EQ(about.window.caption, "Vornel - Hakkında");
    EXPECT_EQ(about.Lbl_Ab_Web_Left, 1830);
}

TEST_F(AboutFormTest, TheLinkOpensTheWebSiteAndABrowserThatCannotStartOnlyBeeps) {
    about.Show();
    about.Lbl_Ab_Web_Click();
    EXPECT_EQ(opened, (std::vector<std::string>{"https://www.halvex.org/vornel"}));
    EXPECT_EQ(dialogs.count(Kind::Beep), 0u);

    browserStarts = false;
    about.Lbl_Ab_Web_Click();
    EXPECT_EQ(opened.size(), 2u);
    EXPECT_EQ(dialogs.count(Kind::Beep), 1u);
    EXPECT_EQ(dialogs.count(Kind::MessageBox), 0u);
    EXPECT_TRUE(about.window.visible);

    // No way to open addresses at all: the click does nothing.
    about.openUrl = nullptr;
    about.Lbl_Ab_Web_Click();
    EXPECT_EQ(dialogs.calls.size(), 1u);
}

TEST_F(AboutFormTest, TheAboutCommandHidesThePlayerAndOkShowsItFirstThenHidesTheAboutWindow) {
    player.Cmd_About_Click();
    EXPECT_TRUE(about.window.visible);
    EXPECT_FALSE(playerVisible());

    about.Cmd_Ab_Ok_Click();
    EXPECT_TRUE(aboutVisibleWhenPlayerShown);
    EXPECT_TRUE(playerVisible());
    EXPECT_FALSE(about.window.visible);

    // Without its collaborator OK still closes the window.
    about.showPlayer = nullptr;
    about.Show();
    about.Cmd_Ab_Ok_Click();
    EXPECT_FALSE(about.window.visible);
}

}  // namespace
}  // namespace vornel
