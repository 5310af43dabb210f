#pragma once

#include <QList>
#include <QString>

class QAbstractButton;
class QGroupBox;
class QPushButton;
class QWidget;

// Works the main window the way the operator does, through its widgets, found
// by object name and by their English texts (the window must run in English).
class WindowDriver
{
public:
    explicit WindowDriver(QWidget *window);

    // Switcher: ticks input `input` and the outputs (channel numbers from 1).
    bool selectRoute(int input, const QList<int> &outputs);
    QPushButton *switchButton() const;
    // Shows the poll and timing page in place of the channel grids.
    bool openPollPage();
    // Sets a box of the poll page to the entry with this text.
    bool setBox(const char *objectName, const QString &text);
    QPushButton *pollButton() const;

    void click(QAbstractButton *button);
    QString error() const;

private:
    QWidget *switcher() const;
    QList<QAbstractButton *> channelTiles(const QString &groupTitle) const;
    QPushButton *buttonWithText(QWidget *root, const QString &text) const;

    QWidget *m_window;
    QString m_error;
};
