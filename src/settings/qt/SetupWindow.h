#pragma once

#include <functional>
#include <string>
#include <vector>

#include "settings/MIDISetupForm.h"
#include "platform/qt/ModelWindow.h"

class QComboBox;
class QLabel;
class QPushButton;

namespace vornel {

class QtDispatcher;

// The setup window on screen. It shows the MIDISetupForm model as it is and
// forwards every choice and click to the model's handler of that name, as a
// handler of the dispatcher; after every handler of the program it shows the
// model again, so the language being applied or the player's Settings
// command showing the window reach the screen too.
class SetupWindow final : public ModelWindow {
    Q_OBJECT

public:
    // Width of every list: 3000 twips.
    static constexpr int kListWidth = 200;

    // Closing through the window frame ends the program, as Exit does.
    SetupWindow(MIDISetupForm& model, QtDispatcher& dispatcher, QWidget* parent = nullptr);

    // Shows the model's present state: title, captions, lists, selections and
    // visibility. The first showing after a load centres the window.
    void sync() override;

    QLabel* languageLabel() const { return label1_; }
    QComboBox* languageList() const { return combo1_; }
    QLabel* deviceLabel() const { return label2_; }
    QComboBox* deviceList() const { return comboMidiOut_; }
    QLabel* inputLabel() const { return label3_; }
    QComboBox* inputList() const { return comboMidiIn_; }
    QPushButton* okButton() const { return cmdOk_; }
    QPushButton* exitButton() const { return cmdCancel_; }

private:
    void centreOnScreen();

    MIDISetupForm& model_;
    QLabel* label1_;
    QComboBox* combo1_;
    QLabel* label2_;
    QComboBox* comboMidiOut_;
    QLabel* label3_;
    QComboBox* comboMidiIn_;
    QPushButton* cmdOk_;
    QPushButton* cmdCancel_;
    // What the device list shows, so an unchanged list is not rebuilt.
    std::vector<std::string> shownDevices_;
    std::vector<std::string> shownInputs_;
    std::vector<std::string> shownLanguages_;
    int centredForLoad_ = 0;
};

}  // namespace vornel
