#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QString>
#include <QTimer>
#include <functional>
#include <memory>

namespace vornel {

// What a message box showed before a test answered it.
struct SeenBox {
    bool seen = false;
    QString title, text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Waits, from inside the modal loop the box runs, for the box to appear, notes
// what it shows, lets `whenSeen` look at it and presses `answer`.
inline void answerNextBox(SeenBox& seen, QMessageBox::StandardButton answer = QMessageBox::Ok,
                          std::function<void(QMessageBox&)> whenSeen = {}) {
    // The pending timer call owns the poll; the poll itself only refers to
    // it weakly, so nothing is left behind once the box has been answered.
    auto poll = std::make_shared<std::function<void(int)>>();
    std::weak_ptr<std::function<void(int)>> self = poll;
    *poll = [&seen, answer, whenSeen, self](int triesLeft) {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box) {
            if (auto again = self.lock(); again && triesLeft > 0)
                QTimer::singleShot(0, [again, triesLeft] { (*again)(triesLeft - 1); });
            return;
        }
        seen = {true, box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
        if (whenSeen) whenSeen(*box);
        box->button(answer)->click();
    };
    QTimer::singleShot(0, [poll] { (*poll)(1000); });
}

}  // namespace vornel
