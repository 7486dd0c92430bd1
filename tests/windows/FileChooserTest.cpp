#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "support/RecordingDialogs.h"
#include "support/TempDir.h"
#include "windows/FileChooser.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;
using test::RecordingDialogs;
using Kind = test::DialogCall::Kind;
using Names = std::vector<std::string>;

void touch(const fs::path& p) {
    std::ofstream(p) << "MThd";
}

// Three drives inside a temporary folder: "sys" (position 0), "home"
// (position 1, the first-use drive) and "usb". The home folder holds style
// files, a text file, a visible and a hidden folder.
class FileChooserTest : public ::testing::Test {
protected:
    FileChooserTest() {
        for (const char* d :
             {"sys", "home", "usb", "home/Styles", "home/Styles/Latin", "home/Styles/Latin/Salsa",
              "home/archive", "home/.config", "sys/etc", "usb/Yamaha"})
            fs::create_directory(tmp.file(d));
        for (const char* f : {"home/Pop.sty", "home/ballad.MID", "home/readme.txt", "home/Zeta.STY",
                              "home/Styles/Latin/Bossa.sty", "usb/Yamaha/Disco.mid"})
            touch(tmp.file(f));
        makeChooser();
    }

    std::string at(const std::string& rel) const { return tmp.file(rel).string(); }
    std::vector<std::string> roots() const { return {at("sys"), at("home"), at("usb")}; }

    // A fresh chooser on the same store: what a restart of the program sees.
    void makeChooser(std::vector<std::string> driveList = {}) {
        chooser = std::make_unique<FileChooser>(driveList.empty() ? roots() : std::move(driveList),
                                                dialogs);
        chooser->loadFile = [this](const std::string& path) {
            // What the user sees while loading runs.
            loadedWhileHidden.push_back(!chooser->window.visible && playerShown > 0);
            loaded.push_back(path);
        };
        chooser->showPlayer = [this] { ++playerShown; };
        chooser->setPathLabel = [this](const std::string& text) { Label7 = text; };
    }

    Names fileList() const { return chooser->File1.List; }
    // The folder list as "level:name" lines.
    Names folderTree() const {
        Names out;
        for (const FolderEntry& e : chooser->Dir1.List)
            out.push_back(std::to_string(e.level) + ":" + e.name);
        return out;
    }
    void expectFirstUsePlace() const {
        EXPECT_EQ(chooser->Drive1.ListIndex, 1);
        EXPECT_EQ(chooser->Dir1.Path, at("home"));
        EXPECT_EQ(chooser->File1.Path, at("home"));
        EXPECT_EQ(fileList(), (Names{"ballad.MID", "Pop.sty", "Zeta.STY"}));
    }
    // Every wait pointer shown was taken away again.
    void expectPointerBalanced() const {
        int on = 0;
        for (const auto& c : dialogs.of(Kind::WaitCursor)) on += c.on ? 1 : -1;
        EXPECT_EQ(on, 0);
        EXPECT_FALSE(dialogs.waitCursor);
    }
    void storeDirs(const std::string& drive, const std::string& dir) {
        settings.write("Dirs", "Drive", drive);
        settings.write("Dirs", "Dir", dir);
    }

    test::TempDir tmp;
    RecordingDialogs dialogs;
    MemorySettingsStore settings;
    std::unique_ptr<FileChooser> chooser;
    Names loaded;
    std::vector<bool> loadedWhileHidden;
    int playerShown = 0;
    std::string Label7 = "-";
};

TEST_F(FileChooserTest, CreatedHiddenWithOkDisabledAndCancelStoresNothingBeforeItsLoad) {
    const FileChooser& c = *chooser;
    EXPECT_FALSE(c.window.visible);
    EXPECT_EQ(c.window.caption, "");
    EXPECT_FALSE(c.CmdOk.enabled);
    EXPECT_EQ(c.Drive1.List, roots());
    EXPECT_EQ(c.Drive1.ListIndex, -1);
    chooser->CmdCancel_Click();
    EXPECT_EQ(playerShown, 1);
    EXPECT_EQ(settings.read("Dirs", "Drive"), "");
}

TEST_F(FileChooserTest, FirstUseStandsOnTheHomeFolderWithItsStyleFiles) {
    chooser->Form_Load(settings);
    expectFirstUsePlace();
    // Hidden folders are not listed; the text file is not either.
    EXPECT_EQ(folderTree(), (Names{"0:" + at("home"), "1:archive", "1:Styles"}));
    EXPECT_EQ(chooser->Dir1.ListIndex, 0);
    EXPECT_EQ(chooser->File1.ListIndex, -1);
    EXPECT_EQ(dialogs.count(Kind::Beep), 0u);
    EXPECT_EQ(dialogs.count(Kind::WaitCursor), 2u);
    expectPointerBalanced();
    EXPECT_FALSE(chooser->CmdOk.enabled);
    EXPECT_EQ(playerShown, 0);
}

TEST_F(FileChooserTest, FolderListShowsTheAncestorsThenTheSubfolders) {
    chooser->Form_Load(settings);
    chooser->Dir1_Change(at("home/Styles/Latin"));
    EXPECT_EQ(folderTree(), (Names{"0:" + at("home"), "1:Styles", "2:Latin", "3:Salsa"}));
    EXPECT_EQ(chooser->Dir1.ListIndex, 2);
    EXPECT_EQ(chooser->Dir1.List[1].path, at("home/Styles"));
    EXPECT_EQ(chooser->Dir1.List[3].path, at("home/Styles/Latin/Salsa"));
    EXPECT_EQ(fileList(), (Names{"Bossa.sty"}));

    // Choosing an ancestor line moves back up.
    chooser->Dir1_Change(chooser->Dir1.List[0].path);
    expectFirstUsePlace();
}

TEST_F(FileChooserTest, FolderThatCannotBeShownLeavesBothLists) {
    chooser->Form_Load(settings);
    chooser->Dir1_Change(at("home/Styles"));
    const Names tree = folderTree();
    for (const std::string& bad : {at("home/gone"), at("home/Pop.sty"), at("sys/etc"),
                                   std::string("Styles"), std::string()}) {
        chooser->Dir1_Change(bad);
        EXPECT_EQ(chooser->Dir1.Path, at("home/Styles")) << bad;
        EXPECT_EQ(folderTree(), tree) << bad;
        EXPECT_EQ(chooser->File1.Path, at("home/Styles")) << bad;
    }
}

TEST_F(FileChooserTest, FileClickEnablesOkAndWritesThePathLabelAtOnce) {
    chooser->Form_Load(settings);
    chooser->File1_Click(1);
    EXPECT_TRUE(chooser->CmdOk.enabled);
    EXPECT_EQ(chooser->ChosenFile, at("home") + "/Pop.sty");
    EXPECT_EQ(chooser->File1.FileName, "Pop.sty");
    EXPECT_EQ(chooser->File1.ListIndex, 1);
    EXPECT_EQ(Label7, at("home") + "/Pop.sty");
    EXPECT_TRUE(loaded.empty());

    // A click beside the list changes nothing.
    chooser->File1_Click(3);
    chooser->File1_Click(-1);
    EXPECT_EQ(chooser->ChosenFile, at("home") + "/Pop.sty");
    EXPECT_EQ(chooser->File1.ListIndex, 1);

    // Another folder clears the file selection, not the chosen file.
    chooser->Dir1_Change(at("home/archive"));
    EXPECT_EQ(chooser->File1.ListIndex, -1);
    EXPECT_EQ(chooser->File1.FileName, "");
    EXPECT_TRUE(chooser->File1.List.empty());
    EXPECT_EQ(chooser->ChosenFile, at("home") + "/Pop.sty");
    EXPECT_TRUE(chooser->CmdOk.enabled);
}

TEST_F(FileChooserTest, TreeFromTheSystemRootHasNoDoubledSeparator) {
    makeChooser({"/", at("home")});
    storeDirs("0", at("home/Styles/Latin"));
    chooser->Form_Load(settings);
    ASSERT_EQ(chooser->Drive1.ListIndex, 0);
    ASSERT_EQ(chooser->Dir1.Path, at("home/Styles/Latin"));

    // Every line below "/" is its parent's path, one separator, its name.
    const std::vector<FolderEntry>& list = chooser->Dir1.List;
    EXPECT_EQ(list.front().path, "/");
    EXPECT_EQ(list.front().level, 0);
    for (std::size_t i = 1; i <= static_cast<std::size_t>(chooser->Dir1.ListIndex); ++i) {
        EXPECT_EQ(list[i].path,
                  (list[i - 1].path == "/" ? "/" : list[i - 1].path + "/") + list[i].name);
        EXPECT_EQ(list[i].level, static_cast<int>(i));
    }
    chooser->File1_DblClick(0);
    EXPECT_EQ(loaded, (Names{at("home/Styles/Latin") + "/Bossa.sty"}));
    EXPECT_EQ(settings.read("Dirs", "Drive"), "0");
}

TEST_F(FileChooserTest, OkIsDisabledUntilAFileIsClicked) {
    chooser->Form_Load(settings);
    chooser->Show();
    chooser->CmdOk_Click();
    EXPECT_TRUE(chooser->window.visible);
    EXPECT_TRUE(loaded.empty());
    EXPECT_EQ(playerShown, 0);
    EXPECT_EQ(settings.read("Dirs", "Drive"), "");
    // A double-click on no file loads nothing either.
    chooser->File1_DblClick(-1);
    chooser->File1_DblClick(7);
    EXPECT_TRUE(loaded.empty());
    EXPECT_TRUE(chooser->window.visible);
}

TEST_F(FileChooserTest, DoubleClickLoadsTheFileAfterHidingTheChooser) {
    chooser->Form_Load(settings);
    chooser->Show();
    chooser->Dir1_Change(at("home/Styles/Latin"));
    chooser->File1_DblClick(0);
    EXPECT_EQ(loaded, (Names{at("home/Styles/Latin") + "/Bossa.sty"}));
    EXPECT_EQ(loadedWhileHidden, (std::vector<bool>{true}));
    EXPECT_FALSE(chooser->window.visible);
    EXPECT_EQ(playerShown, 1);
    EXPECT_EQ(Label7, at("home/Styles/Latin") + "/Bossa.sty");
    EXPECT_EQ(settings.read("Dirs", "Drive"), "1");
    EXPECT_EQ(settings.read("Dirs", "Dir"), at("home/Styles/Latin"));
}

TEST_F(FileChooserTest, ClickThenCancelKeepsTheLabelLoadsNothingAndStoresThePlace) {
    chooser->Form_Load(settings);
    chooser->Show();
    chooser->File1_Click(0);
    chooser->CmdCancel_Click();
    EXPECT_EQ(Label7, at("home") + "/ballad.MID");
    EXPECT_TRUE(loaded.empty());
    EXPECT_FALSE(chooser->window.visible);
    EXPECT_EQ(playerShown, 1);
    EXPECT_EQ(settings.read("Dirs", "Drive"), "1");
    EXPECT_EQ(settings.read("Dirs", "Dir"), at("home"));
}

TEST_F(FileChooserTest, OkWithoutANewClickLoadsTheFileClickedBefore) {
    chooser->Form_Load(settings);
    chooser->File1_Click(2);
    chooser->CmdCancel_Click();
    chooser->Show();
    chooser->Drive1_Change(2);
    chooser->Dir1_Change(at("usb/Yamaha"));
    EXPECT_TRUE(chooser->CmdOk.enabled);
    EXPECT_EQ(chooser->File1.ListIndex, -1);
    chooser->CmdOk_Click();
    EXPECT_EQ(loaded, (Names{at("home") + "/Zeta.STY"}));
    EXPECT_EQ(settings.read("Dirs", "Drive"), "2");
    EXPECT_EQ(settings.read("Dirs", "Dir"), at("usb/Yamaha"));
}

TEST_F(FileChooserTest, OpeningAgainListsWhatChangedMeanwhileAndKeepsTheChoice) {
    chooser->Form_Load(settings);
    chooser->Show();
    chooser->File1_Click(1);  // Pop.sty
    chooser->CmdCancel_Click();
    touch(tmp.file("home/Added.sty"));
    fs::remove(tmp.file("home/Zeta.STY"));
    fs::create_directory(tmp.file("home/New"));

    chooser->Show();
    EXPECT_EQ(fileList(), (Names{"Added.sty", "ballad.MID", "Pop.sty"}));
    EXPECT_EQ(folderTree(), (Names{"0:" + at("home"), "1:archive", "1:New", "1:Styles"}));
    // The file chosen before is still what OK loads.
    chooser->CmdOk_Click();
    EXPECT_EQ(loaded, (Names{at("home") + "/Pop.sty"}));

    // A folder removed while the window was hidden leaves the lists as shown.
    chooser->Show();
    chooser->Dir1_Change(at("home/Styles"));
    chooser->CmdCancel_Click();
    fs::remove_all(tmp.file("home/Styles"));
    chooser->Show();
    EXPECT_EQ(chooser->Dir1.Path, at("home/Styles"));
    EXPECT_TRUE(chooser->window.visible);
}

TEST_F(FileChooserTest, RestartReturnsToTheSameDriveAndFolder) {
    chooser->Form_Load(settings);
    chooser->Drive1_Change(2);
    chooser->Dir1_Change(at("usb/Yamaha"));
    chooser->CmdCancel_Click();

    makeChooser();
    chooser->Form_Load(settings);
    EXPECT_EQ(chooser->Drive1.ListIndex, 2);
    EXPECT_EQ(chooser->Dir1.Path, at("usb/Yamaha"));
    EXPECT_EQ(folderTree(), (Names{"0:" + at("usb"), "1:Yamaha"}));
    EXPECT_EQ(fileList(), (Names{"Disco.mid"}));
    EXPECT_FALSE(chooser->CmdOk.enabled);
    EXPECT_EQ(chooser->ChosenFile, "");
    EXPECT_EQ(dialogs.count(Kind::Beep), 0u);
    expectPointerBalanced();
}

TEST_F(FileChooserTest, StoredValuesThatDoNotFitOpenWhereAFirstUseWould) {
    const std::vector<std::pair<std::string, std::string>> stored{
        {"abc", at("usb")},  // not a number
        {"2x", at("usb")},   // not only digits
        {" 2", at("usb")},
        {"-1", at("usb")},
        {"3", at("usb")},                   // past the end of the list
        {"99999999999", at("usb")},         // beyond any number
        {"2", at("usb/gone")},              // folder no longer exists
        {"2", at("usb/Yamaha/Disco.mid")},  // not a folder
        {"2", at("home/Styles")},           // a folder of another drive
        {"2", "usb/Yamaha"},                // not a full path
        {"2", ""},
    };
    for (const auto& [drive, dir] : stored) {
        SCOPED_TRACE("Drive '" + drive + "', Dir '" + dir + "'");
        storeDirs(drive, dir);
        dialogs.clear();
        makeChooser();
        chooser->Form_Load(settings);
        expectFirstUsePlace();
        EXPECT_EQ(dialogs.count(Kind::Beep), 0u);
    }
}

TEST_F(FileChooserTest, UnreadableDriveBeepsAndFallsBackToHome) {
    storeDirs("2", at("usb-gone"));
    makeChooser({at("sys"), at("home"), at("usb-gone")});
    chooser->Form_Load(settings);
    expectFirstUsePlace();  // a stored drive that is gone is never opened
    EXPECT_EQ(dialogs.count(Kind::Beep), 0u);
    chooser->Dir1_Change(at("home/Styles"));
    dialogs.clear();

    chooser->Drive1_Change(2);
    EXPECT_EQ(dialogs.count(Kind::Beep), 1u);
    EXPECT_EQ(dialogs.count(Kind::MessageBox), 0u);
    EXPECT_EQ(chooser->Drive1.ListIndex, 1);
    // Home again, in the folder it was left in.
    EXPECT_EQ(chooser->Dir1.Path, at("home/Styles"));
    expectPointerBalanced();
}

TEST_F(FileChooserTest, UnreadableHomeBeepsOnceAndLeavesTheFolderList) {
    makeChooser({at("sys"), at("home-gone"), at("usb")});
    chooser->Form_Load(settings);
    EXPECT_EQ(dialogs.count(Kind::Beep), 1u);
    EXPECT_EQ(chooser->Drive1.ListIndex, 1);
    EXPECT_EQ(chooser->Dir1.Path, "");
    EXPECT_TRUE(chooser->File1.List.empty());
    expectPointerBalanced();

    // Another drive works; coming back to the failing home beeps and keeps
    // the folder list, which still answers.
    chooser->Drive1_Change(2);
    EXPECT_EQ(chooser->Dir1.Path, at("usb"));
    chooser->Drive1_Change(1);
    EXPECT_EQ(dialogs.count(Kind::Beep), 2u);
    EXPECT_EQ(chooser->Drive1.ListIndex, 1);
    EXPECT_EQ(chooser->Dir1.Path, at("usb"));
    chooser->Dir1_Change(at("usb/Yamaha"));
    EXPECT_EQ(fileList(), (Names{"Disco.mid"}));
    expectPointerBalanced();
}

TEST_F(FileChooserTest, ReturningToADriveReturnsToItsFolderOrItsRootIfGone) {
    chooser->Form_Load(settings);
    chooser->Drive1_Change(2);
    chooser->Dir1_Change(at("usb/Yamaha"));
    chooser->Drive1_Change(1);
    EXPECT_EQ(chooser->Dir1.Path, at("home"));
    chooser->Drive1_Change(2);
    EXPECT_EQ(chooser->Dir1.Path, at("usb/Yamaha"));

    chooser->Drive1_Change(1);
    fs::remove_all(tmp.file("usb/Yamaha"));
    chooser->Drive1_Change(2);
    EXPECT_EQ(chooser->Dir1.Path, at("usb"));
    EXPECT_EQ(dialogs.count(Kind::Beep), 0u);

    // Selecting the drive already selected, or one outside the list, runs nothing.
    dialogs.clear();
    chooser->Drive1_Change(2);
    chooser->Drive1_Change(3);
    chooser->Drive1_Change(-1);
    EXPECT_TRUE(dialogs.calls.empty());
    EXPECT_EQ(chooser->Drive1.ListIndex, 2);
}

TEST_F(FileChooserTest, RelabelSetsTitleAndButtonsFromTheTextTable) {
    Language language;
    language.table.SetTheLangsQuery();
    language.LangNo = kLangEnglish;
    chooser->relabel(language);
    EXPECT_EQ(chooser->window.caption, "Open - MIDI and STYLE files (*.mid, *.sty)");
    EXPECT_EQ(chooser->CmdOk.caption, "Ok");
    EXPECT_EQ(chooser->CmdCancel.caption, "Cancel");

    chooser->relabel(language.table, kLangTurkish);
    EXPECT_EQ(chooser->window.caption, "Aç - MIDI ve STİL dosyaları (*.mid, *.sty)");
    EXPECT_EQ(chooser->CmdOk.caption, "Tamam");
    EXPECT_EQ(chooser->CmdCancel.caption, "İptal");
    EXPECT_FALSE(chooser->window.visible);
}

}  // namespace
}  // namespace vornel
