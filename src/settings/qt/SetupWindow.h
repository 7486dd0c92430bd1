#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <vector>

#include "settings/MIDISetupForm.h"

class QCloseEvent;
class QComboBox;
class QLabel;
class QPushButton;

namespace vornel {

class QtDispatcher;
class StepAwareCombo;

// The setup window on screen. It shows the MIDISetupForm model as it is and
// forwards every choice and click to the model's handler of that name, as a
// handler of the dispatcher; after every handler of the program it shows the
// model again, so the language being applied or the player's Settings
// command showing the window reach the screen too.
class SetupWindow final : public QWidget {
    Q_OBJECT

public:
    // Width of both lists: 3000 twips.
    static constexpr int kListWidth = 200;

    SetupWindow(MIDISetupForm& model, QtDispatcher& dispatcher, QWidget* parent = nullptr);

    // Shows the model's present state: title, captions, lists, selections and
    // visibility. The first showing after a load centres the window.
    void sync();

    QLabel* languageLabel() const { return label1_; }
    QComboBox* languageList() const;
    QLabel* deviceLabel() const { return label2_; }
    QComboBox* deviceList() const;
    QPushButton* okButton() const { return cmdOk_; }
    QPushButton* exitButton() const { return cmdCancel_; }

protected:
    // Closing through the window frame ends the program, as Exit does.
    void closeEvent(QCloseEvent* event) override;

private:
    void forward(const std::function<void()>& handler);
    void centreOnScreen();

    MIDISetupForm& model_;
    QtDispatcher& dispatcher_;
    QLabel* label1_;
    StepAwareCombo* combo1_;
    QLabel* label2_;
    StepAwareCombo* comboMidiOut_;
    QPushButton* cmdOk_;
    QPushButton* cmdCancel_;
    // What the device list shows, so an unchanged list is not rebuilt.
    std::vector<std::string> shownDevices_;
    std::vector<std::string> shownLanguages_;
    int centredForLoad_ = 0;
};

}  // namespace vornel
