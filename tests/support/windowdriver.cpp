#include "support/windowdriver.h"

#include <QAbstractButton>
#include <QAbstractItemModel>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTest>
#include <QTextEdit>

WindowDriver::WindowDriver(QWidget *window)
    : m_window(window)
{
}

QWidget *WindowDriver::switcher() const
{
    return m_window->findChild<QWidget *>(QStringLiteral("switchWidget"));
}

QWidget *WindowDriver::connectPanel() const
{
    return m_window->findChild<QWidget *>(QStringLiteral("connectWidget"));
}

QGroupBox *WindowDriver::group(QWidget *root, const QString &title) const
{
    if (!root)
        return nullptr;
    const QList<QGroupBox *> boxes = root->findChildren<QGroupBox *>();
    for (QGroupBox *box : boxes) {
        if (box->title() == title)
            return box;
    }
    return nullptr;
}

QList<QAbstractButton *> WindowDriver::channelTiles(const QString &groupTitle) const
{
    QGroupBox *box = group(switcher(), groupTitle);
    return box ? box->findChildren<QAbstractButton *>() : QList<QAbstractButton *>();
}

QPushButton *WindowDriver::buttonWithText(QWidget *root, const QString &text) const
{
    if (!root)
        return nullptr;
    const QList<QPushButton *> buttons = root->findChildren<QPushButton *>();
    for (QPushButton *button : buttons) {
        if (button->text() == text)
            return button;
    }
    return nullptr;
}

bool WindowDriver::selectRoute(int input, const QList<int> &outputs)
{
    const QList<QAbstractButton *> inputs = channelTiles(QStringLiteral("Matrix In"));
    const QList<QAbstractButton *> outputTiles = channelTiles(QStringLiteral("Matrix Out"));
    if (input > inputs.size()) {
        m_error = QStringLiteral("no input tile %1 (the switcher shows %2)").arg(input).arg(inputs.size());
        return false;
    }
    click(inputs.at(input - 1));
    for (int output : outputs) {
        if (output > outputTiles.size()) {
            m_error = QStringLiteral("no output tile %1").arg(output);
            return false;
        }
        click(outputTiles.at(output - 1));
    }
    return true;
}

QPushButton *WindowDriver::switchButton() const
{
    return buttonWithText(switcher(), QStringLiteral("Switch"));
}

bool WindowDriver::openPollPage()
{
    QPushButton *setting = buttonWithText(switcher(), QStringLiteral("Setting"));
    if (!setting) {
        m_error = QStringLiteral("no Setting button on the switcher");
        return false;
    }
    click(setting);
    if (!pollButton()) {
        m_error = QStringLiteral("the poll page did not open");
        return false;
    }
    return true;
}

bool WindowDriver::closePollPage()
{
    auto *back = m_window->findChild<QPushButton *>(QStringLiteral("backButton"));
    if (!back) {
        m_error = QStringLiteral("no Back button");
        return false;
    }
    click(back);
    return true;
}

bool WindowDriver::setBox(const char *objectName, const QString &text)
{
    auto *box = m_window->findChild<QComboBox *>(QLatin1String(objectName));
    const int index = box ? box->findText(text) : -1;
    if (index < 0) {
        m_error = QStringLiteral("no entry %1 in %2").arg(text, QLatin1String(objectName));
        return false;
    }
    box->setCurrentIndex(index);
    return true;
}

QPushButton *WindowDriver::pollButton() const
{
    return m_window->findChild<QPushButton *>(QStringLiteral("pollButton"));
}

QPushButton *WindowDriver::netButton(const QString &text) const
{
    return buttonWithText(group(connectPanel(), QStringLiteral("Net Setting")), text);
}

QPushButton *WindowDriver::serialConnectButton() const
{
    QGroupBox *box = group(connectPanel(), QStringLiteral("Com Setting"));
    return box ? box->findChild<QPushButton *>() : nullptr;
}

QComboBox *WindowDriver::serialPortList() const
{
    QGroupBox *box = group(connectPanel(), QStringLiteral("Com Setting"));
    return box ? box->findChild<QComboBox *>() : nullptr;
}

bool WindowDriver::connectNet()
{
    QPushButton *all = netButton(QStringLiteral("All"));
    QPushButton *connect = netButton(QStringLiteral("Connect"));
    if (!connect)
        connect = netButton(QStringLiteral("connect"));
    if (!all || !connect) {
        m_error = QStringLiteral("no All or Connect button on the connection panel");
        return false;
    }
    click(all);
    click(connect);
    return true;
}

bool WindowDriver::connectSerial(const QString &portName)
{
    QComboBox *ports = serialPortList();
    QPushButton *connect = serialConnectButton();
    if (!ports || !connect || !ports->isEditable()) {
        m_error = QStringLiteral("no editable Com box or no Connect button");
        return false;
    }
    ports->setEditText(portName);
    click(connect);
    return true;
}

QString WindowDriver::deviceCell(int row, int column) const
{
    auto *table = connectPanel() ? connectPanel()->findChild<QTableView *>() : nullptr;
    if (!table || !table->model())
        return QString();
    return table->model()->index(row, column).data().toString();
}

QTextEdit *WindowDriver::textLog() const
{
    return m_window->findChild<QTextEdit *>(QStringLiteral("textLog"));
}

QCheckBox *WindowDriver::hexSwitch() const
{
    return m_window->findChild<QCheckBox *>(QStringLiteral("hexSwitch"));
}

void WindowDriver::click(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

QString WindowDriver::error() const
{
    return m_error;
}
