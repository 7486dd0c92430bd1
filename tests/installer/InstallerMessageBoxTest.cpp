#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <memory>
#include <string>

#include "installer/InstallerFiles.h"
#include "installer/qt/InstallerMessageBox.h"
#include "support/BoxAnswerer.h"

namespace vornel {
namespace {

constexpr const char* kFailure = "Bilinmeyen bir hata oluştu (Unknown error !)";
constexpr const char* kTitle = "Vornel Install";

// Shows the failure as Quendel does; a box that appears is noted and
// answered. Returns what went to the error stream.
std::string showFailure(SeenBox& seen) {
    int argc = 1;
    char name[] = "quendel";
    char* argv[] = {name, nullptr};
    InstallerMessageBox box(argc, argv);
    answerNextBox(seen);
    testing::internal::CaptureStderr();
    box.show(kFailure, kTitle, MessageIcon::None);
    std::string written = testing::internal::GetCapturedStderr();
    QApplication::processEvents();
    return written;
}

// The box, and the same line on the error stream: a display that is named but
// cannot be reached ends the process inside Qt, and the reason must survive.
TEST(InstallerMessageBoxTest, ShowsTheTextAndTitleWithOnlyOkAndNoIconAndWritesTheLine) {
    SeenBox seen;
    // (Qt's offscreen platform may add notes of its own after the line.)
    EXPECT_THAT(showFailure(seen), testing::StartsWith(std::string(kTitle) + ": " + kFailure + "\n"));
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.text, QString::fromUtf8(kFailure));
    EXPECT_EQ(seen.title, QString::fromUtf8(kTitle));
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

// With no display named anywhere, Qt could only end the process; the message
// reaches the user on the error stream alone, and no box blocks the run.
TEST(InstallerMessageBoxTest, WithoutADisplayTheMessageGoesToTheErrorStream) {
    test::ScopedEnv platform("QT_QPA_PLATFORM", nullptr);
    test::ScopedEnv display("DISPLAY", nullptr);
    test::ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
    ASSERT_FALSE(InstallerMessageBox::displayAvailable());

    SeenBox seen;
    EXPECT_EQ(showFailure(seen), std::string(kTitle) + ": " + kFailure + "\n");
    EXPECT_FALSE(seen.seen);
}

}  // namespace
}  // namespace vornel
