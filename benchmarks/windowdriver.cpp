#include "windowdriver.h"

#include <QAbstractButton>
#include <QComboBox>
#include <QGroupBox>
#include <QPushButton>
#include <QTest>

WindowDriver::WindowDriver(QWidget *window)
    : m_window(window)
{
}

QWidget *WindowDriver::switcher() const
{
    return m_window->findChild<QWidget *>(QStringLiteral("switchWidget"));
}

QList<QAbstractButton *> WindowDriver::channelTiles(const QString &groupTitle) const
{
    const QList<QGroupBox *> boxes = switcher() ? switcher()->findChildren<QGroupBox *>() : QList<QGroupBox *>();
    for (QGroupBox *box : boxes) {
        if (box->title() == groupTitle)
            return box->findChildren<QAbstractButton *>();
    }
    return {};
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

void WindowDriver::click(QAbstractButton *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
}

QString WindowDriver::error() const
{
    return m_error;
}
