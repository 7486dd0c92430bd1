#include <gtest/gtest.h>

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTest>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/qt/QtDispatcher.h"
#include "support/RecordingDialogs.h"
#include "support/TempDir.h"
#include "windows/qt/FileChooserWindow.h"

namespace vornel {
namespace {

namespace fs = std::filesystem;
using Names = std::vector<std::string>;

QStringList itemsOf(const QListWidget* list) {
    QStringList out;
    for (int i = 0; i < list->count(); ++i) out << list->item(i)->text().trimmed();
    return out;
}

// The chooser window over a model on three drives in a temporary folder,
// shown the way the player's Open shows it: as a handler.
class FileChooserWindowTest : public ::testing::Test {
protected:
    FileChooserWindowTest() {
        for (const char* d : {"sys", "home", "usb", "home/Styles", "usb/Yamaha"})
            fs::create_directory(tmp.file(d));
        for (const char* f :
             {"home/Pop.sty", "home/ballad.MID", "home/readme.txt", "home/Styles/Rock.sty"})
            std::ofstream(tmp.file(f)) << "MThd";
        model.loadFile = [this](const std::string& path) { loaded.push_back(path); };
        model.showPlayer = [this] { ++playerShown; };
        model.setPathLabel = [this](const std::string& text) { Label7 = text; };
        model.Form_Load(settings);
        Language language;
        language.table.SetTheLangsQuery();
        language.LangNo = kLangEnglish;
        dispatcher.runHandler([&] {
            model.relabel(language);
            model.Show();
        });
    }

    std::string at(const std::string& rel) const { return tmp.file(rel).string(); }

    void clickFile(int row, bool twice = false) {
        QListWidget* files = window.fileList();
        const QPoint centre = files->visualItemRect(files->item(row)).center();
        // A real double-click: press and release, then the second press.
        QTest::mouseClick(files->viewport(), Qt::LeftButton, {}, centre);
        if (twice) QTest::mouseDClick(files->viewport(), Qt::LeftButton, {}, centre);
    }

    test::TempDir tmp;
    test::RecordingDialogs dialogs;
    MemorySettingsStore settings;
    QtDispatcher dispatcher;
    FileChooser model{{at("sys"), at("home"), at("usb")}, dialogs};
    FileChooserWindow window{model, dispatcher};
    Names loaded;
    int playerShown = 0;
    std::string Label7;
};

TEST_F(FileChooserWindowTest, ShowsTheModelAfterAHandler) {
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(window.windowTitle(), QString("Open - MIDI and STYLE files (*.mid, *.sty)"));
    EXPECT_EQ(window.okButton()->text(), QString("Ok"));
    EXPECT_EQ(window.cancelButton()->text(), QString("Cancel"));
    EXPECT_FALSE(window.okButton()->isEnabled());
    EXPECT_EQ(window.driveList()->count(), 3);
    EXPECT_EQ(window.driveList()->currentIndex(), 1);
    EXPECT_EQ(itemsOf(window.folderList()),
              (QStringList{QString::fromStdString(at("home")), "Styles"}));
    EXPECT_EQ(window.folderList()->currentRow(), 0);
    EXPECT_EQ(itemsOf(window.fileList()), (QStringList{"ballad.MID", "Pop.sty"}));
    // The folder lines are indented by their depth.
    EXPECT_TRUE(window.folderList()->item(1)->text().startsWith(' '));
    EXPECT_FALSE(window.folderList()->item(0)->text().startsWith(' '));
}

TEST_F(FileChooserWindowTest, AFileClickEnablesOkAndWritesThePathLabel) {
    clickFile(1);
    EXPECT_TRUE(model.CmdOk.enabled);
    EXPECT_TRUE(window.okButton()->isEnabled());
    EXPECT_EQ(Label7, at("home") + "/Pop.sty");
    EXPECT_EQ(window.fileList()->currentRow(), 1);
    EXPECT_TRUE(loaded.empty());
    EXPECT_TRUE(window.isVisible());

    QTest::mouseClick(window.okButton(), Qt::LeftButton);
    EXPECT_EQ(loaded, (Names{at("home") + "/Pop.sty"}));
    EXPECT_FALSE(window.isVisible());
}

TEST_F(FileChooserWindowTest, ADoubleClickLoadsTheFile) {
    clickFile(0, true);
    EXPECT_EQ(loaded, (Names{at("home") + "/ballad.MID"}));
    EXPECT_EQ(playerShown, 1);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(settings.read("Dirs", "Drive"), "1");
    EXPECT_EQ(settings.read("Dirs", "Dir"), at("home"));
}

TEST_F(FileChooserWindowTest, CancelStoresThePlaceAndLoadsNothing) {
    clickFile(0);
    QTest::mouseClick(window.cancelButton(), Qt::LeftButton);
    EXPECT_TRUE(loaded.empty());
    EXPECT_EQ(Label7, at("home") + "/ballad.MID");
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(playerShown, 1);
    EXPECT_EQ(settings.read("Dirs", "Drive"), "1");
    EXPECT_EQ(settings.read("Dirs", "Dir"), at("home"));
}

TEST_F(FileChooserWindowTest, ClosingThroughTheFrameIsCancel) {
    window.close();
    EXPECT_FALSE(model.window.visible);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(playerShown, 1);
    EXPECT_TRUE(loaded.empty());
    EXPECT_EQ(settings.read("Dirs", "Dir"), at("home"));

    // Shown again, it is the same window with the same lists.
    dispatcher.runHandler([&] { model.Show(); });
    EXPECT_TRUE(window.isVisible());
    EXPECT_EQ(itemsOf(window.fileList()), (QStringList{"ballad.MID", "Pop.sty"}));
}

TEST_F(FileChooserWindowTest, EnterOnAFolderLineMovesThere) {
    window.folderList()->setFocus();
    window.folderList()->setCurrentRow(1);
    QTest::keyClick(window.folderList(), Qt::Key_Return);
    EXPECT_EQ(model.Dir1.Path, at("home/Styles"));
    EXPECT_EQ(itemsOf(window.folderList()),
              (QStringList{QString::fromStdString(at("home")), "Styles"}));
    EXPECT_EQ(window.folderList()->currentRow(), 1);
    EXPECT_EQ(itemsOf(window.fileList()), (QStringList{"Rock.sty"}));
}

TEST_F(FileChooserWindowTest, ChoosingADriveMovesTheLists) {
    window.driveList()->setFocus();
    QTest::keyClick(window.driveList(), Qt::Key_Down);
    EXPECT_EQ(model.Drive1.ListIndex, 2);
    EXPECT_EQ(itemsOf(window.folderList()),
              (QStringList{QString::fromStdString(at("usb")), "Yamaha"}));
    EXPECT_EQ(window.fileList()->count(), 0);
}

TEST_F(FileChooserWindowTest, MovingThroughTheFilesWithTheKeysClicksEach) {
    clickFile(0);
    EXPECT_EQ(model.ChosenFile, at("home") + "/ballad.MID");
    QTest::keyClick(window.fileList(), Qt::Key_Down);
    EXPECT_EQ(model.ChosenFile, at("home") + "/Pop.sty");
    EXPECT_EQ(Label7, at("home") + "/Pop.sty");
    EXPECT_TRUE(window.okButton()->isEnabled());
}

// Qt makes the first row current when the list gets the focus without one
// (Tab, the window shown again); nobody chose that file.
TEST_F(FileChooserWindowTest, TheListGettingTheFocusChoosesNoFile) {
    window.fileList()->setFocus(Qt::TabFocusReason);
    window.fileList()->setCurrentRow(0, QItemSelectionModel::NoUpdate);  // as Qt does on focus
    EXPECT_EQ(model.ChosenFile, "");
    EXPECT_FALSE(window.okButton()->isEnabled());

    // An arrow that cannot move on from that row is the user's choice of it.
    QTest::keyClick(window.fileList(), Qt::Key_Up);
    EXPECT_EQ(model.ChosenFile, at("home") + "/ballad.MID");

    // After a double-click load, the chooser opened again loads that file on OK.
    clickFile(1, true);
    dispatcher.runHandler([&] { model.Show(); });
    window.fileList()->setFocus(Qt::TabFocusReason);
    window.fileList()->setCurrentRow(0, QItemSelectionModel::NoUpdate);  // as Qt does on focus
    QTest::mouseClick(window.okButton(), Qt::LeftButton);
    EXPECT_EQ(loaded, (Names{at("home") + "/Pop.sty", at("home") + "/Pop.sty"}));
}

TEST_F(FileChooserWindowTest, EnterOnAFileLoadsItAndEscapeIsCancel) {
    clickFile(1);
    QTest::keyClick(window.fileList(), Qt::Key_Return);
    EXPECT_EQ(loaded, (Names{at("home") + "/Pop.sty"}));
    dispatcher.runHandler([&] { model.Show(); });
    QTest::keyClick(window.fileList(), Qt::Key_Escape);
    EXPECT_FALSE(window.isVisible());
    EXPECT_EQ(loaded.size(), 1u);
    EXPECT_EQ(playerShown, 2);
}

TEST_F(FileChooserWindowTest, InputDuringAnotherHandlerIsRefusedAndUndone) {
    dispatcher.runHandler([&] { QTest::keyClick(window.fileList(), Qt::Key_Down); });
    EXPECT_EQ(model.ChosenFile, "");
    EXPECT_EQ(window.fileList()->currentRow(), -1);
    EXPECT_FALSE(window.okButton()->isEnabled());
}

}  // namespace
}  // namespace vornel
