#include "setup/seriallinkgroup.h"

#include "config/linkparameters.h"

#include <QCoreApplication>
#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QListView>
#include <QPushButton>
#include <QRegularExpression>
#include <QSerialPortInfo>

namespace {

constexpr int RowSpacing = 4;
constexpr int RowStretch = 10;
const QString FallbackPortName = QStringLiteral("COM1");
// Room for a whole device path such as /dev/ttyUSB0 or /dev/pts/12.
constexpr int TypedPortChars = 11;
const QString SlowBaud = QStringLiteral("9600");
const QString FastBaud = QStringLiteral("115200");

// Windows names its serial ports COMn; elsewhere every port the system
// reports is offered (ttyUSB0, ttyACM0, cu.usbserial...).
QStringList serialPortNames()
{
    QStringList names;
    const auto ports = QSerialPortInfo::availablePorts();
    for (const QSerialPortInfo &info : ports) {
#ifdef Q_OS_WIN
        const QRegularExpression comPattern(QStringLiteral("[c|C][o|O][m|M]([0-9]+)"));
        if (!comPattern.match(info.portName()).hasMatch())
            continue;
#endif
        names.append(info.portName());
    }
    if (names.isEmpty())
        names.append(FallbackPortName);
    return names;
}

} // namespace

SerialLinkGroup::SerialLinkGroup(QWidget *parent)
    : QGroupBox(parent)
{
    // Everything is made inside its final parent: a finished group moved in
    // later would have its whole content styled again.
    m_comLabel = new QLabel(this);
    m_portList = new QComboBox(this);
    m_portList->setView(new QListView);
    m_baudLabel = new QLabel(this);
    m_baudList = new QComboBox(this);
    m_baudList->setView(new QListView);
    m_connectButton = new QPushButton(this);

    auto *row = new QHBoxLayout;
    row->addWidget(m_comLabel);
    row->addSpacing(RowSpacing);
    // The port takes the room left, so that a typed device path shows whole.
    row->addWidget(m_portList, RowStretch);
    row->addWidget(m_baudLabel);
    row->addSpacing(RowSpacing);
    row->addWidget(m_baudList);
    row->addStretch(RowStretch);
    row->addWidget(m_connectButton);
    setLayout(row);
}

SerialLinkGroup::~SerialLinkGroup()
{
    ::storePort(m_portList->currentText());
    ::storeBaud(m_baudList->currentText());
}

void SerialLinkGroup::fillLists()
{
    m_portList->addItems(serialPortNames());
#ifndef Q_OS_WIN
    // A pseudo-terminal or a /dev/serial/by-id path is not listed, so it can be typed.
    m_portList->setEditable(true);
    m_portList->setInsertPolicy(QComboBox::NoInsert);
    m_portList->setMinimumContentsLength(TypedPortChars);
#endif
    const QString storedPort = linkParameters().port;
    const int storedIndex = m_portList->findText(storedPort);
    if (storedIndex >= 0)
        m_portList->setCurrentIndex(storedIndex);
    else if (m_portList->isEditable() && storedPort.startsWith(QLatin1Char('/')))
        m_portList->setEditText(storedPort);
    else
        m_portList->setCurrentIndex(0);

    m_baudList->addItems({SlowBaud, FastBaud});
    m_baudList->setCurrentText(linkParameters().baud);
    // Stored as they change, so that a killed program keeps them too.
    connect(m_portList, &QComboBox::currentTextChanged, this, &::storePort);
    connect(m_baudList, &QComboBox::currentTextChanged, this, &::storeBaud);
}

QPushButton *SerialLinkGroup::connectButton() const
{
    return m_connectButton;
}

QString SerialLinkGroup::portName() const
{
    return m_portList->currentText();
}

QString SerialLinkGroup::baud() const
{
    return m_baudList->currentText();
}

void SerialLinkGroup::showOpen(bool open)
{
    m_portList->setEnabled(!open);
    m_baudList->setEnabled(!open);
}

// Lists without text of their own are named after the label beside them.
void SerialLinkGroup::retranslateUi()
{
    setTitle(QCoreApplication::translate("SerialLinkGroup", "Com Setting"));
    m_comLabel->setText(QCoreApplication::translate("SerialLinkGroup", "Com"));
    m_baudLabel->setText(QCoreApplication::translate("SerialLinkGroup", "Baud"));
    m_comLabel->setBuddy(m_portList);
    m_baudLabel->setBuddy(m_baudList);
    m_portList->setAccessibleName(m_comLabel->text());
    m_baudList->setAccessibleName(m_baudLabel->text());
}
