#include "settings/qt/SetupWindow.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/qt/ControlMirror.h"
#include "platform/qt/QtConversions.h"
#include "platform/qt/QtDispatcher.h"

namespace vornel {

namespace {

void syncList(QComboBox* combo, const ComboList& list, std::vector<std::string>& shown) {
    const QSignalBlocker block(combo);
    if (list.entries != shown) {
        combo->clear();
        for (const std::string& entry : list.entries) combo->addItem(qtString(entry));
        shown = list.entries;
        // The list keeps its designed width; a device name longer than that
        // is read in full in the open list and in the tool tip.
        QAbstractItemView* open = combo->view();
        int widest = 0;
        for (int i = 0; i < combo->count(); ++i)
            widest = std::max(widest, open->fontMetrics().horizontalAdvance(combo->itemText(i)));
        const int room = open->style()->pixelMetric(QStyle::PM_ScrollBarExtent) + 16;  // item margins
        open->setMinimumWidth(widest + room);
    }
    combo->setCurrentIndex(list.ListIndex >= 0 && list.ListIndex < combo->count() ? list.ListIndex
                                                                                  : -1);
    combo->setToolTip(combo->currentText());
    combo->setEnabled(list.control.enabled);
}

}  // namespace

SetupWindow::SetupWindow(MIDISetupForm& model, QtDispatcher& dispatcher, QWidget* parent)
    : ModelWindow(dispatcher, model.window, [&model] { model.Form_QueryUnload(); }, parent),
      model_(model),
      label1_(new QLabel),
      combo1_(new QComboBox),
      label2_(new QLabel),
      comboMidiOut_(new QComboBox),
      label3_(new QLabel),
      comboMidiIn_(new QComboBox),
      cmdOk_(new QPushButton),
      cmdCancel_(new QPushButton) {
    setObjectName("MIDISetupForm");
    label1_->setObjectName("Label1");
    combo1_->setObjectName("Combo1");
    label2_->setObjectName("Label2");
    comboMidiOut_->setObjectName("ComboMidiOut");
    label3_->setObjectName("Label3");
    comboMidiIn_->setObjectName("ComboMidiIn");
    cmdOk_->setObjectName("CmdOk");
    cmdCancel_->setObjectName("CmdCancel");

    combo1_->setFixedWidth(kListWidth);
    comboMidiOut_->setFixedWidth(kListWidth);
    comboMidiIn_->setFixedWidth(kListWidth);
    label1_->setBuddy(combo1_);
    label2_->setBuddy(comboMidiOut_);
    label3_->setBuddy(comboMidiIn_);

    auto* lists = new QGridLayout;
    lists->addWidget(label1_, 0, 0, Qt::AlignRight | Qt::AlignVCenter);
    lists->addWidget(combo1_, 0, 1);
    lists->addWidget(label2_, 1, 0, Qt::AlignRight | Qt::AlignVCenter);
    lists->addWidget(comboMidiOut_, 1, 1);
    lists->addWidget(label3_, 2, 0, Qt::AlignRight | Qt::AlignVCenter);
    lists->addWidget(comboMidiIn_, 2, 1);
    lists->setColumnStretch(0, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk_);
    buttons->addWidget(cmdCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    // A choice in the open list and a step through the closed one (keys,
    // wheel) both raise `activated`, and both apply the language at once.
    connect(combo1_, &QComboBox::activated, this, [this](int position) {
        forward([this, position] { model_.Combo1_Click(position); });
    });
    connect(comboMidiOut_, &QComboBox::activated, this, [this](int position) {
        forward([this, position] { model_.ComboMidiOut_Click(position); });
    });
    connect(comboMidiIn_, &QComboBox::activated, this, [this](int position) {
        forward([this, position] { model_.ComboMidiIn_Click(position); });
    });
    connect(cmdOk_, &QPushButton::clicked, this,
            [this] { forward([this] { model_.CmdOk_Click(); }); });
    connect(cmdCancel_, &QPushButton::clicked, this,
            [this] { forward([this] { model_.CmdCancel_Click(); }); });

    // Escape is the frame's close: Exit at the first start, Cancel later.
    setDialogKeys([this] { model_.CmdOk_Click(); }, [this] { model_.Form_QueryUnload(); });

    followModel();
}

void SetupWindow::sync() {
    setWindowTitle(qtString(model_.window.caption));
    mirrorCaptioned(*label1_, model_.Label1);
    mirrorCaptioned(*label2_, model_.Label2);
    mirrorCaptioned(*label3_, model_.Label3);
    mirrorCaptioned(*cmdOk_, model_.CmdOk);
    mirrorCaptioned(*cmdCancel_, model_.CmdCancel);
    syncList(combo1_, model_.Combo1, shownLanguages_);
    syncList(comboMidiOut_, model_.ComboMidiOut, shownDevices_);
    syncList(comboMidiIn_, model_.ComboMidiIn, shownInputs_);

    if (model_.window.visible == isVisible()) return;
    if (model_.window.visible && model_.loads != centredForLoad_) {
        centreOnScreen();
        centredForLoad_ = model_.loads;
    }
    followVisibility();
}

// Centred on the whole screen, as loading places it: each free distance is
// halved with truncation. Later showings keep wherever the user moved it.
void SetupWindow::centreOnScreen() {
    adjustSize();
    const QScreen* where = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!where) return;
    const QRect area = where->geometry();
    move(area.x() + (area.width() - width()) / 2, area.y() + (area.height() - height()) / 2);
    forgetPlace(*this);
}

}  // namespace vornel
