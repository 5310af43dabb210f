#pragma once

#include <QDialog>
#include <QPushButton>

#include <functional>

// Runs action on the next modal dialog as soon as it is shown, so that a test
// can drive a flow that calls exec(). Checks every 10 ms for up to 5 s.
void answerNextModal(std::function<void(QDialog *)> action);

// The first T under root that shows this text; with shownOnly, the first visible one.
template <typename T = QPushButton> T *withText(QWidget *root, const QString &text, bool shownOnly = false)
{
    for (T *widget : root->findChildren<T *>()) {
        if (widget->text() == text && (!shownOnly || widget->isVisible()))
            return widget;
    }
    return nullptr;
}
