#include "windows/qt/FileChooserWindow.h"

#include <QComboBox>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QIcon>
#include <QListWidget>
#include <QPushButton>
#include <QSignalBlocker>
#include <QStyle>
#include <QVBoxLayout>
#include <algorithm>

#include "platform/qt/QtConversions.h"
#include "platform/qt/QtDispatcher.h"
#include "windows/qt/FileList.h"

namespace vornel {

namespace {

bool sameEntries(const std::vector<FolderEntry>& a, const std::vector<FolderEntry>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(),
                      [](const FolderEntry& x, const FolderEntry& y) {
                          return x.name == y.name && x.path == y.path && x.level == y.level;
                      });
}

// Selects `row` of a list without raising the list's signals; -1 clears it.
void selectRow(QListWidget* list, int row) {
    const QSignalBlocker block(list);
    if (row >= 0 && row < list->count()) {
        list->setCurrentRow(row);
    } else {
        list->setCurrentRow(-1);
        list->clearSelection();
    }
}

}  // namespace

FileChooserWindow::FileChooserWindow(FileChooser& model, QtDispatcher& dispatcher, QWidget* parent)
    : ModelWindow(
          dispatcher, model.window, [&model] { model.CmdCancel_Click(); }, parent),
      model_(model),
      drive1_(new QComboBox),
      dir1_(new QListWidget),
      file1_(new FileList),
      cmdOk_(new QPushButton),
      cmdCancel_(new QPushButton) {
    setObjectName("frmCD");
    drive1_->setObjectName("Drive1");
    dir1_->setObjectName("Dir1");
    file1_->setObjectName("File1");
    cmdOk_->setObjectName("CmdOk");
    cmdCancel_->setObjectName("CmdCancel");

    auto* frame = new QFrame;
    frame->setFrameShape(QFrame::StyledPanel);
    auto* lists = new QGridLayout(frame);
    lists->addWidget(drive1_, 0, 0);
    lists->addWidget(dir1_, 1, 0);
    lists->addWidget(file1_, 0, 1, 2, 1);
    lists->setColumnStretch(0, 1);
    lists->setColumnStretch(1, 1);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(cmdOk_);
    buttons->addWidget(cmdCancel_);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(frame, 1);
    layout->addLayout(buttons);
    resize(640, 420);

    connect(drive1_, &QComboBox::activated, this,
            [this](int index) { forward([this, index] { model_.Drive1_Change(index); }); });
    // Double-click or Enter on a folder line moves there.
    connect(dir1_, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        const int row = dir1_->row(item);
        forward([this, row] {
            if (row >= 0 && row < static_cast<int>(model_.Dir1.List.size()))
                model_.Dir1_Change(model_.Dir1.List[static_cast<std::size_t>(row)].path);
        });
    });
    connect(file1_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
        const int row = file1_->row(item);
        forward([this, row] { model_.File1_Click(row); });
    });
    // Moving through the files with the keys clicks each one, as the mouse
    // would; Enter is a double-click. The list merely getting the focus
    // chooses nothing (FileList).
    connect(file1_, &FileList::rowStepped, this, [this](int row) {
        if (row != model_.File1.ListIndex) forward([this, row] { model_.File1_Click(row); });
    });
    connect(file1_, &FileList::rowEntered, this,
            [this](int row) { forward([this, row] { model_.File1_DblClick(row); }); });
    connect(file1_, &QListWidget::itemDoubleClicked, this, [this](QListWidgetItem* item) {
        const int row = file1_->row(item);
        forward([this, row] { model_.File1_DblClick(row); });
    });
    connect(cmdOk_, &QPushButton::clicked, this,
            [this] { forward([this] { model_.CmdOk_Click(); }); });
    connect(cmdCancel_, &QPushButton::clicked, this,
            [this] { forward([this] { model_.CmdCancel_Click(); }); });
    // Escape is Cancel. Enter stays with the lists: on a folder it opens the
    // folder, on a file it loads the file.
    setDialogKeys(nullptr, [this] { model_.CmdCancel_Click(); });

    followModel();
}

void FileChooserWindow::sync() {
    setWindowTitle(qtString(model_.window.caption));
    cmdOk_->setText(qtString(model_.CmdOk.caption));
    cmdOk_->setEnabled(model_.CmdOk.enabled);
    cmdCancel_->setText(qtString(model_.CmdCancel.caption));
    cmdCancel_->setEnabled(model_.CmdCancel.enabled);
    syncLists();
    followVisibility();
}

void FileChooserWindow::syncLists() {
    if (model_.Drive1.List != shownRoots_) {
        const QSignalBlocker block(drive1_);
        drive1_->clear();
        for (const std::string& root : model_.Drive1.List) drive1_->addItem(qtString(root));
        shownRoots_ = model_.Drive1.List;
    }
    {
        const QSignalBlocker block(drive1_);
        drive1_->setCurrentIndex(model_.Drive1.ListIndex);
    }

    if (!sameEntries(model_.Dir1.List, shownFolders_)) {
        const QSignalBlocker block(dir1_);
        dir1_->clear();
        const QIcon open = style()->standardIcon(QStyle::SP_DirOpenIcon);
        const QIcon closed = style()->standardIcon(QStyle::SP_DirIcon);
        for (std::size_t i = 0; i < model_.Dir1.List.size(); ++i) {
            const FolderEntry& e = model_.Dir1.List[i];
            // The current folder and its ancestors are open; its subfolders closed.
            const bool onPath = static_cast<int>(i) <= model_.Dir1.ListIndex;
            dir1_->addItem(new QListWidgetItem(onPath ? open : closed,
                                               QString(e.level * 3, ' ') + qtString(e.name)));
        }
        shownFolders_ = model_.Dir1.List;
    }
    selectRow(dir1_, model_.Dir1.ListIndex);

    if (model_.File1.List != shownFiles_) {
        const QSignalBlocker block(file1_);
        file1_->clear();
        for (const std::string& name : model_.File1.List) file1_->addItem(qtString(name));
        shownFiles_ = model_.File1.List;
    }
    selectRow(file1_, model_.File1.ListIndex);
}

}  // namespace vornel
