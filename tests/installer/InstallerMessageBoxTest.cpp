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

TEST(InstallerMessageBoxTest, ShowsTheTextAndTitleWithOnlyOkAndNoIcon) {
    int argc = 1;
    char name[] = "quendel";
    char* argv[] = {name, nullptr};
    InstallerMessageBox box(argc, argv);
    SeenBox seen;
    answerNextBox(seen);
    box.show("Bilinmeyen bir hata oluştu (Unknown error !)", "Vornel Install", MessageIcon::None);
    ASSERT_TRUE(seen.seen);
    EXPECT_EQ(seen.text, QString::fromUtf8("Bilinmeyen bir hata oluştu (Unknown error !)"));
    EXPECT_EQ(seen.title, QStringLiteral("Vornel Install"));
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
    EXPECT_EQ(seen.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
}

// With no display named anywhere, Qt could only end the process; the message
// reaches the user on the error stream instead, and no box blocks the run.
TEST(InstallerMessageBoxTest, WithoutADisplayTheMessageGoesToTheErrorStream) {
    test::ScopedEnv platform("QT_QPA_PLATFORM", nullptr);
    test::ScopedEnv display("DISPLAY", nullptr);
    test::ScopedEnv wayland("WAYLAND_DISPLAY", nullptr);
    ASSERT_FALSE(InstallerMessageBox::displayAvailable());

    int argc = 1;
    char name[] = "quendel";
    char* argv[] = {name, nullptr};
    InstallerMessageBox box(argc, argv);
    SeenBox seen;
    answerNextBox(seen);
    testing::internal::CaptureStderr();
    box.show("Bilinmeyen bir hata oluştu (Unknown error !)", "Vornel Install", MessageIcon::None);
    const std::string written = testing::internal::GetCapturedStderr();
    EXPECT_EQ(written, "Vornel Install: Bilinmeyen bir hata oluştu (Unknown error !)\n");
    QApplication::processEvents();
    EXPECT_FALSE(seen.seen);
}

}  // namespace
}  // namespace vornel
