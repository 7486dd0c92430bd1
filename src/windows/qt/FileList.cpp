#include "windows/qt/FileList.h"

#include <QKeyEvent>

namespace vornel {

namespace {

bool isNavigationKey(int key) {
    switch (key) {
        case Qt::Key_Up:
        case Qt::Key_Down:
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Home:
        case Qt::Key_End:
            return true;
        default:
            return false;
    }
}

}  // namespace

FileList::FileList(QWidget* parent) : QListWidget(parent) {}

void FileList::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (key == Qt::Key_Return || key == Qt::Key_Enter) {
        // Taken here, so that the window does not see the same Enter as well.
        event->accept();
        if (currentRow() >= 0) emit rowEntered(currentRow());
        return;
    }
    const int before = currentRow();
    QListWidget::keyPressEvent(event);
    // The row Qt made current on focus is not selected: an arrow that cannot
    // move past it (the only file, Up on the first) chooses that row.
    const bool unchosen = currentItem() && !currentItem()->isSelected();
    if (currentRow() >= 0 &&
        (currentRow() != before || (unchosen && isNavigationKey(event->key()))))
        emit rowStepped(currentRow());
}

}  // namespace vornel
