#pragma once

#include <QList>
#include <QString>

class QAbstractButton;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QPushButton;
class QTextEdit;
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
    bool closePollPage();
    // Sets a box of the poll page to the entry with this text.
    bool setBox(const char *objectName, const QString &text);
    QPushButton *pollButton() const;

    // Connection panel.
    QPushButton *netButton(const QString &text) const;
    QPushButton *serialConnectButton() const;
    QComboBox *serialPortList() const;
    // Ticks every device row and connects by TCP to the topmost.
    bool connectNet();
    // Types the port name into the Com box and opens it.
    bool connectSerial(const QString &portName);
    // The text of a cell of the device table (columns: 1 IP, 2 port, 3 alias).
    QString deviceCell(int row, int column) const;

    // Debug console.
    QTextEdit *textLog() const;
    QCheckBox *hexSwitch() const;

    void click(QAbstractButton *button);
    QString error() const;

private:
    QWidget *switcher() const;
    QWidget *connectPanel() const;
    QGroupBox *group(QWidget *root, const QString &title) const;
    QList<QAbstractButton *> channelTiles(const QString &groupTitle) const;
    QPushButton *buttonWithText(QWidget *root, const QString &text) const;

    QWidget *m_window;
    QString m_error;
};
