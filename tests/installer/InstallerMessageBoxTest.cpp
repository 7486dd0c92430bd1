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

namespace vornel {
namespace {

struct SeenBox {
    bool seen = false;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// From inside the box's modal loop: waits for the box, notes what it shows and
// presses OK.
void answerNextBox(SeenBox& seen) {
    auto poll = std::make_shared<std::function<void(int)>>();
    std::weak_ptr<std::function<void(int)>> self = poll;
    *poll = [&seen, self](int triesLeft) {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            if (auto again = self.lock(); again && triesLeft > 0)
                QTimer::singleShot(0, [again, triesLeft] { (*again)(triesLeft - 1); });
            return;
        }
        seen = {true, box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
        box->button(QMessageBox::Ok)->click();
    };
    QTimer::singleShot(0, [poll] { (*poll)(1000); });
}

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
