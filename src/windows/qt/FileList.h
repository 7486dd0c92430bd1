#pragma once

#include <QListWidget>

namespace vornel {

// The chooser's file list. Qt makes the first row current whenever the list
// gets the focus without one (Tab, a window shown again); that row was never
// chosen by the user, so the list reports only what the user did to it: an
// arrow or page key that moved to another row, and Enter on a row. Clicks and
// double-clicks come through QListWidget's own signals.
class FileList final : public QListWidget {
    Q_OBJECT

public:
    explicit FileList(QWidget* parent = nullptr);

signals:
    void rowStepped(int row);  // a key moved the current row to `row`
    void rowEntered(int row);  // Enter or Return on `row`

protected:
    void keyPressEvent(QKeyEvent* event) override;
};

}  // namespace vornel
