#include "support/modalhelper.h"

#include <QApplication>
#include <QDialog>
#include <QTimer>

namespace {

void poll(std::function<void(QDialog *)> action, int triesLeft)
{
    QTimer::singleShot(10, [action, triesLeft] {
        auto *dialog = qobject_cast<QDialog *>(QApplication::activeModalWidget());
        if (dialog && dialog->isVisible()) {
            action(dialog);
            return;
        }
        if (triesLeft > 0)
            poll(action, triesLeft - 1);
    });
}

} // namespace

void answerNextModal(std::function<void(QDialog *)> action)
{
    poll(std::move(action), 500);
}
