#pragma once

#include <functional>
#include <string>

#include "windows/AboutForm.h"
#include "platform/qt/ModelWindow.h"

class QLabel;
class QPushButton;

namespace vornel {

class QtDispatcher;

// The about window on screen, laid out in the model's twips. It shows the
// AboutForm model after every handler of the program and forwards OK and a
// click on the web link to the model as handlers. Unless the owner has given
// the model another way, the link opens in the user's browser.
class AboutWindow final : public ModelWindow {
    Q_OBJECT

public:
    // Closing through the window frame is OK: the player window comes back.
    AboutWindow(AboutForm& model, QtDispatcher& dispatcher, QWidget* parent = nullptr);

    // Hands `address` to the desktop's browser; false when it is not a web
    // address or nothing could open it. No command line is ever built from it.
    static bool openInBrowser(const std::string& address);

    // Shows the model's present state: title, texts, the link's place and
    // visibility. The window grows if a text would not fit.
    void sync() override;

    QLabel* nameLabel() const { return label8_; }
    QLabel* mailLabel() const { return mail_; }
    QLabel* webLink() const { return web_; }
    QLabel* image1() const { return image1_; }
    QLabel* image2() const { return image2_; }
    QPushButton* okButton() const { return ok_; }

protected:
    // A click on the link label: the left button pressed and released over it.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fitWidth();

    AboutForm& model_;
    QLabel* image1_;
    QLabel* image2_;
    QLabel* label8_;
    QLabel* label1_;
    QLabel* label7_;
    QLabel* mail_;
    QLabel* web_;
    QPushButton* ok_;
    bool linkPressed_ = false;
};

}  // namespace vornel
