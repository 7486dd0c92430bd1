#include "windows/qt/FileList.h"

#include <QKeyEvent>

namespace vornel {

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
    if (currentRow() >= 0 && currentRow() != before) emit rowStepped(currentRow());
}

}  // namespace vornel
