#include "setup/cconnectframe.h"

#include "config/devicestore.h"
#include "config/linkparameters.h"
#include "config/settings.h"
#include "link/linkkeeper.h"
#include "link/netreply.h"
#include "link/protocoladapter.h"
#include "setup/caliassetting.h"
#include "setup/cconfigipdlg.h"
#include "widgets/checkboxdelegate.h"
#include "widgets/cipedit.h"

#include <QAction>
#include <QComboBox>
#include <QCursor>
#include <QDebug>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMenu>
#include <QPushButton>
#include <QRegularExpression>
#include <QSerialPortInfo>
#include <QStandardItemModel>
#include <QTableView>
#include <QVBoxLayout>

#include <utility>

namespace {

enum Column { TickColumn = 0, IpColumn = 1, PortColumn = 2, AliasColumn = 3, ColumnCount = 4 };

constexpr int TickColumnWidth = 20;
constexpr int IpColumnWidth = 90;
constexpr int PortColumnWidth = 40;
constexpr int AliasColumnWidth = 90;
constexpr int RowHeight = 21;
// Room for the text margins of a cell on both sides and its grid line.
constexpr int CellTextMargin = 8;
const QString WidestAddress = QStringLiteral("255.255.255.255");
const QString WidestPort = QStringLiteral("65535");
constexpr int FrameMargin = 10;
constexpr int ComGroupStretch = 1;
constexpr int NetGroupStretch = 4;
constexpr int ComRowSpacing = 4;
constexpr int ComRowStretch = 10;
constexpr int IpLabelMaximumWidth = 40;
constexpr int IpFieldWidth = 120;

const QString FallbackPortName = QStringLiteral("COM1");
// Room for a whole device path such as /dev/ttyUSB0 or /dev/pts/12.
constexpr int TypedPortChars = 11;
const QString SlowBaud = QStringLiteral("9600");
const QString FastBaud = QStringLiteral("115200");

// Wide enough for each of its texts, so that "connect" turning into
// "disconnect" moves nothing else in the window.
void fitToTexts(QPushButton *button, const QStringList &texts)
{
    const QString shown = button->text();
    int width = 0;
    for (const QString &text : texts) {
        button->setText(text);
        width = qMax(width, button->sizeHint().width());
    }
    button->setText(shown);
    button->setMinimumWidth(width);
}

DeviceEntry defaultEntry()
{
    DeviceEntry entry;
    entry.ip = QStringLiteral("192.168.1.168");
    entry.port = QStringLiteral("6800");
    entry.subnet = QStringLiteral("255.255.255.0");
    entry.gateway = QStringLiteral("192.168.1.1");
    return entry;
}

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

CConnectFrame::CConnectFrame(QWidget *parent)
    : QFrame(parent)
{
    initLayout();
    initTable();
    initComboBoxes();
    initConnections();
    m_connectText = tr("connect");
    m_disconnectText = tr("disconnect");
}

CConnectFrame::~CConnectFrame()
{
    ::storePort(m_portList->currentText());
    ::storeBaud(m_baudList->currentText());
    m_addressBook->setEntries(m_devices);
    m_addressBook.reset();
}

void CConnectFrame::initLayout()
{
    // Everything is made inside its final parent: a finished group moved in
    // later would have its whole content styled again.
    m_comGroup = new QGroupBox(this);
    m_comLabel = new QLabel(m_comGroup);
    m_portList = new QComboBox(m_comGroup);
    m_portList->setView(new QListView);
    m_baudLabel = new QLabel(m_comGroup);
    m_baudList = new QComboBox(m_comGroup);
    m_baudList->setView(new QListView);
    m_serialConnectButton = new QPushButton(m_comGroup);

    auto *comRow = new QHBoxLayout;
    comRow->addWidget(m_comLabel);
    comRow->addSpacing(ComRowSpacing);
    // The port takes the room left, so that a typed device path shows whole.
    comRow->addWidget(m_portList, ComRowStretch);
    comRow->addWidget(m_baudLabel);
    comRow->addSpacing(ComRowSpacing);
    comRow->addWidget(m_baudList);
    comRow->addStretch(ComRowStretch);
    comRow->addWidget(m_serialConnectButton);
    m_comGroup->setLayout(comRow);

    m_netGroup = new QGroupBox(this);
    m_deviceTable = new QTableView(m_netGroup);
    m_addButton = new QPushButton(m_netGroup);
    m_netConnectButton = new QPushButton(m_netGroup);
    m_allButton = new QPushButton(m_netGroup);
    m_clearButton = new QPushButton(m_netGroup);
    m_ipLabel = new QLabel(m_netGroup);
    m_ipLabel->setMaximumWidth(IpLabelMaximumWidth);
    m_ipEdit = new CIPEdit(m_netGroup);
    m_ipEdit->setFixedWidth(IpFieldWidth);
    m_portLabel = new QLabel(m_netGroup);
    m_portEdit = new QLineEdit(m_netGroup);
    m_getButton = new QPushButton(m_netGroup);

    auto *buttonColumn = new QVBoxLayout;
    buttonColumn->addWidget(m_addButton);
    buttonColumn->addWidget(m_netConnectButton);
    buttonColumn->addWidget(m_allButton);
    buttonColumn->addWidget(m_clearButton);
    auto *tableRow = new QHBoxLayout;
    tableRow->addWidget(m_deviceTable);
    tableRow->addLayout(buttonColumn);
    auto *addressRow = new QHBoxLayout;
    addressRow->addWidget(m_ipLabel);
    addressRow->addWidget(m_ipEdit);
    addressRow->addWidget(m_portLabel);
    addressRow->addWidget(m_portEdit);
    addressRow->addWidget(m_getButton);
    auto *netLayout = new QVBoxLayout;
    netLayout->addLayout(tableRow);
    netLayout->addLayout(addressRow);
    m_netGroup->setLayout(netLayout);

    auto *frameLayout = new QVBoxLayout(this);
    frameLayout->addWidget(m_comGroup, ComGroupStretch);
    frameLayout->addWidget(m_netGroup, NetGroupStretch);
    frameLayout->setContentsMargins(FrameMargin, FrameMargin, FrameMargin, FrameMargin);

    retranslateUi();
    m_getButton->setEnabled(false);
}

void CConnectFrame::initTable()
{
    m_deviceModel = new QStandardItemModel(this);
    m_deviceModel->setColumnCount(ColumnCount);
    // Plain header data: these stay as they are in every language.
    m_deviceModel->setHorizontalHeaderLabels(
        {QString(), QStringLiteral("IP"), QStringLiteral("Port"), QStringLiteral("Alais")});
    m_checkDelegate = new CheckBoxDelegate(m_deviceTable);
    // The tick column shows no text, so screen readers get words for its cells.
    connect(m_deviceModel, &QStandardItemModel::rowsInserted, this,
            [this](const QModelIndex &, int first, int last) { nameTickCells(first, last); });
    connect(m_deviceModel, &QStandardItemModel::dataChanged, this,
            [this](const QModelIndex &topLeft, const QModelIndex &bottomRight, const QVector<int> &roles) {
                if (topLeft.column() == TickColumn
                    && (roles.isEmpty() || roles.contains(Qt::DisplayRole) || roles.contains(Qt::EditRole)))
                    nameTickCells(topLeft.row(), bottomRight.row());
            });

    m_deviceTable->setModel(m_deviceModel);
    m_deviceTable->setItemDelegate(m_checkDelegate);
    m_deviceTable->setColumnWidth(TickColumn, TickColumnWidth);
    m_deviceTable->setColumnWidth(AliasColumn, AliasColumnWidth);
    fitAddressColumns();
    m_deviceTable->installEventFilter(this);
    m_deviceTable->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // The alias takes the room the panel leaves, so the table needs no sideways scrolling.
    m_deviceTable->horizontalHeader()->setSectionResizeMode(AliasColumn, QHeaderView::Stretch);
    m_deviceTable->verticalHeader()->hide();
    m_deviceTable->verticalHeader()->setDefaultSectionSize(RowHeight);
    m_deviceTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_deviceTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab moves between the controls of the panel, not between the cells.
    m_deviceTable->setTabKeyNavigation(false);
    m_deviceTable->setContextMenuPolicy(Qt::CustomContextMenu);

    m_setAliasAction = new QAction(tr("Set Alias"), this);
    m_upAction = new QAction(tr("Up"), this);
    m_downAction = new QAction(tr("Down"), this);
    m_deleteAction = new QAction(tr("Delete"), this);
    m_settingAction = new QAction(tr("Setting"), this);
    m_resetAction = new QAction(tr("Reset"), this);
    m_contextMenu = new QMenu(m_deviceTable);
    m_contextMenu->addAction(m_settingAction);
    m_contextMenu->addAction(m_resetAction);
    m_contextMenu->addAction(m_deleteAction);
    m_contextMenu->addAction(m_setAliasAction);
    m_contextMenu->addAction(m_upAction);
    m_contextMenu->addAction(m_downAction);

    connect(m_deviceTable, &QWidget::customContextMenuRequested, this, &CConnectFrame::slotContextMenu);
    connect(m_setAliasAction, &QAction::triggered, this, &CConnectFrame::onSetAlias);
    connect(m_upAction, &QAction::triggered, this, &CConnectFrame::onUp);
    connect(m_downAction, &QAction::triggered, this, &CConnectFrame::onDown);
    connect(m_deleteAction, &QAction::triggered, this, &CConnectFrame::onDelete);
    connect(m_settingAction, &QAction::triggered, this, &CConnectFrame::onSetting);
    connect(m_resetAction, &QAction::triggered, this, &CConnectFrame::onReset);

    clearTable();
    m_addressBook = std::make_unique<DeviceStore>();
    m_devices = m_addressBook->entries();
    refreshTable();
    nameControls();
}

void CConnectFrame::initComboBoxes()
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
}

void CConnectFrame::initConnections()
{
    // Stored as they change, so that a killed program keeps them too.
    connect(m_portList, &QComboBox::currentTextChanged, this, &::storePort);
    connect(m_baudList, &QComboBox::currentTextChanged, this, &::storeBaud);
    connect(m_deviceTable, &QAbstractItemView::clicked, this, &CConnectFrame::doItemClicked);
    connect(m_deviceTable, &QAbstractItemView::doubleClicked, this, &CConnectFrame::doItemDoubleClicked);
    connect(m_netConnectButton, &QPushButton::clicked, this, &CConnectFrame::onConnectNet);
    connect(m_addButton, &QPushButton::clicked, this, &CConnectFrame::onAdd);
    connect(m_serialConnectButton, &QPushButton::clicked, this, &CConnectFrame::onConnectPort);
    connect(m_getButton, &QPushButton::clicked, this, &CConnectFrame::onGet);
    connect(m_allButton, &QPushButton::clicked, this, &CConnectFrame::onSeleteAll);
    connect(m_clearButton, &QPushButton::clicked, this, &CConnectFrame::onClearAll);
    // The device closed a link under us: show that side as it now is.
    connect(&protocoladapter::instance(), &protocoladapter::linkDropped, this, [this](protocoladapter::LinkKind kind) {
        if (!m_keeper || !m_keeper->isRetrying(kind))
            updateLinkUi(kind == protocoladapter::TcpLink ? NetSide : SerialSide, false);
    });
}

void CConnectFrame::setLinkKeeper(LinkKeeper *keeper)
{
    m_keeper = keeper;
    connect(keeper, &LinkKeeper::retrying, this, [this](protocoladapter::LinkKind kind) {
        showRetrying(kind == protocoladapter::TcpLink ? NetSide : SerialSide);
    });
    connect(keeper, &LinkKeeper::restored, this, [this](protocoladapter::LinkKind kind) {
        updateLinkUi(kind == protocoladapter::TcpLink ? NetSide : SerialSide, true);
    });
}

// The side stays taken, as the operator left it, and its button stops the tries.
void CConnectFrame::showRetrying(LinkSide side)
{
    updateLinkUi(side, true);
    QPushButton *button = side == NetSide ? m_netConnectButton : m_serialConnectButton;
    button->setText(tr("retrying"));
    button->setToolTip(tr("The link dropped and is being tried again; click to stop"));
}

bool CConnectFrame::stopRetrying(LinkSide side)
{
    const protocoladapter::LinkKind kind = side == NetSide ? protocoladapter::TcpLink : protocoladapter::SerialLink;
    if (!m_keeper || !m_keeper->isRetrying(kind))
        return false;
    m_keeper->stop(kind);
    updateLinkUi(side, false);
    return true;
}

void CConnectFrame::changeEvent(QEvent *event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
    else if (event->type() == QEvent::FontChange)
        fitLinkButtons();
}

void CConnectFrame::fitLinkButtons()
{
    const QStringList texts = {m_connectText, m_disconnectText, tr("Connect"), tr("retrying")};
    fitToTexts(m_netConnectButton, texts);
    fitToTexts(m_serialConnectButton, texts);
}

// The table's font comes from the style sheet and the application font, both of
// which may arrive after the panel is built.
bool CConnectFrame::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_deviceTable && event->type() == QEvent::FontChange)
        fitAddressColumns();
    return QFrame::eventFilter(watched, event);
}

// Wide enough for the longest address and port in the table's font.
void CConnectFrame::fitAddressColumns()
{
    m_deviceTable->ensurePolished();
    const QFontMetrics metrics = m_deviceTable->fontMetrics();
    m_deviceTable->setColumnWidth(
        IpColumn, qMax(IpColumnWidth, metrics.horizontalAdvance(WidestAddress) + CellTextMargin));
    m_deviceTable->setColumnWidth(
        PortColumn, qMax(PortColumnWidth, metrics.horizontalAdvance(WidestPort) + CellTextMargin));
}

void CConnectFrame::retranslateUi()
{
    m_connectText = tr("connect");
    m_disconnectText = tr("disconnect");
    m_netGroup->setTitle(tr("Net Setting"));
    m_ipLabel->setText(tr("IP"));
    m_portLabel->setText(tr("Port"));
    // A connected side keeps saying so in the new language.
    m_netConnectButton->setText(m_netShownConnected ? m_disconnectText : tr("Connect"));
    m_getButton->setText(tr("Get"));
    m_addButton->setText(tr("Add"));
    m_comGroup->setTitle(tr("Com Setting"));
    m_comLabel->setText(tr("Com"));
    m_baudLabel->setText(tr("Baud"));
    m_serialConnectButton->setText(m_serialShownConnected ? m_disconnectText : tr("Connect"));
    for (LinkSide side : {NetSide, SerialSide}) {
        if (m_keeper && m_keeper->isRetrying(side == NetSide ? protocoladapter::TcpLink : protocoladapter::SerialLink))
            showRetrying(side);
    }
    if (m_setAliasAction) {
        m_setAliasAction->setText(tr("Set Alias"));
        m_upAction->setText(tr("Up"));
        m_downAction->setText(tr("Down"));
        m_deleteAction->setText(tr("Delete"));
        m_settingAction->setText(tr("Setting"));
        m_resetAction->setText(tr("Reset"));
    }
    m_allButton->setText(tr("All"));
    m_clearButton->setText(tr("Clear"));
    fitLinkButtons();
    nameControls();
}

// Controls without text of their own are named after the label beside them.
void CConnectFrame::nameControls()
{
    m_comLabel->setBuddy(m_portList);
    m_baudLabel->setBuddy(m_baudList);
    m_portLabel->setBuddy(m_portEdit);
    m_portList->setAccessibleName(m_comLabel->text());
    m_baudList->setAccessibleName(m_baudLabel->text());
    m_portEdit->setAccessibleName(m_portLabel->text());
    if (!m_deviceModel)
        return;
    m_deviceTable->setAccessibleName(tr("Devices"));
    m_deviceModel->setHeaderData(TickColumn, Qt::Horizontal, tr("Tick"), Qt::AccessibleTextRole);
    nameTickCells(0, m_deviceModel->rowCount() - 1);
}

void CConnectFrame::nameTickCells(int first, int last)
{
    for (int row = first; row <= last; ++row) {
        m_deviceModel->setData(m_deviceModel->index(row, TickColumn),
                               isTicked(row) ? tr("Ticked") : tr("Not ticked"), Qt::AccessibleTextRole);
    }
}

void CConnectFrame::updateLinkUi(LinkSide side, bool connected)
{
    const QString text = connected ? m_disconnectText : m_connectText;
    (side == NetSide ? m_netConnectButton : m_serialConnectButton)->setToolTip(QString());
    if (side == NetSide) {
        m_netShownConnected = connected;
        m_netConnectButton->setText(text);
        m_ipEdit->setEnabled(!connected);
        m_portEdit->setEnabled(!connected);
    } else {
        m_serialShownConnected = connected;
        m_serialConnectButton->setText(text);
        m_portList->setEnabled(!connected);
        m_baudList->setEnabled(!connected);
    }
    m_getButton->setEnabled(protocoladapter::instance().isConnected());
}

void CConnectFrame::onConnectPort()
{
    if (stopRetrying(SerialSide))
        return;
    protocoladapter &adapter = protocoladapter::instance();
    if (adapter.isSerialOpen()) {
        adapter.closeSerial();
        updateLinkUi(SerialSide, false);
        return;
    }
    const QString portName = m_portList->currentText();
    if (adapter.openSerial(portName, m_baudList->currentText())) {
        qDebug() << "open port" << portName;
        updateLinkUi(SerialSide, true);
    } else {
        qDebug() << "can't open port";
    }
}

void CConnectFrame::onConnectNet()
{
    if (stopRetrying(NetSide))
        return;
    protocoladapter &adapter = protocoladapter::instance();
    if (adapter.isTcpConnected()) {
        if (!adapter.disconnectTcp())
            updateLinkUi(NetSide, false);
        return;
    }
    QList<int> ticked;
    for (int row = 0; row < m_devices.size(); ++row) {
        if (isTicked(row))
            ticked.append(row);
    }
    if (ticked.isEmpty()) {
        emit notice(tr("Connect: no row is ticked"));
        return;
    }
    const DeviceEntry &device = m_devices.at(ticked.first());
    if (ticked.size() > 1) {
        emit notice(tr("%1 rows are ticked: connecting to the topmost, %2:%3")
                        .arg(ticked.size()).arg(device.ip, device.port));
    }
    if (adapter.connectTcp(device.ip, device.port)) {
        qDebug() << QStringLiteral("Connect to ") + m_ipEdit->text() + QLatin1Char(':') + m_portEdit->text();
        updateLinkUi(NetSide, true);
    } else {
        qDebug() << "can't connect to service";
    }
}

bool CConnectFrame::isTicked(int row) const
{
    return m_deviceModel->index(row, TickColumn).data(Qt::DisplayRole).toBool();
}

int CConnectFrame::currentDeviceRow() const
{
    const int row = m_deviceTable->currentIndex().row();
    return row >= 0 && row < m_devices.size() ? row : -1;
}

CConfigIPDlg *CConnectFrame::networkDialog()
{
    if (!m_networkDialog)
        m_networkDialog = new CConfigIPDlg(parentWidget() ? parentWidget() : this);
    return m_networkDialog;
}

void CConnectFrame::doItemClicked(const QModelIndex &index)
{
    if (index.row() < 0 || index.row() >= m_devices.size())
        return;
    const DeviceEntry &device = m_devices.at(index.row());
    m_ipEdit->setText(device.ip);
    m_portEdit->setText(device.port);
}

void CConnectFrame::doItemDoubleClicked(const QModelIndex &index)
{
    const int row = index.row();
    if (row < 0 || row >= m_devices.size())
        return;
    CConfigIPDlg *dialog = networkDialog();
    dialog->setEntry(m_devices.at(row));
    if (dialog->exec() != QDialog::Accepted || row >= m_devices.size())
        return;
    const DeviceEntry edited = dialog->entry();
    const DeviceEntry &stored = m_devices.at(row);
    // An unchanged address keeps the name the operator gave it.
    if (edited.ip == stored.ip && edited.port == stored.port && edited.subnet == stored.subnet
        && edited.gateway == stored.gateway && edited.mac == stored.mac) {
        return;
    }
    updateRow(row, edited);
}

void CConnectFrame::onAdd()
{
    CConfigIPDlg *dialog = networkDialog();
    dialog->setEntry(defaultEntry());
    // A new device may listen on any port; nothing is sent to it here.
    dialog->setPortEditable(true);
    if (dialog->exec() != QDialog::Accepted)
        return;
    const DeviceEntry added = dialog->entry();
    const int row = m_devices.size();
    m_deviceModel->setItem(row, IpColumn, new QStandardItem(added.ip));
    m_deviceModel->setItem(row, PortColumn, new QStandardItem(added.port));
    m_deviceModel->setItem(row, AliasColumn, new QStandardItem(added.alias));
    m_devices.append(added);
    storeDevices();
}

void CConnectFrame::onGet()
{
    protocoladapter &adapter = protocoladapter::instance();
    const QString reply = adapter.queryNetSetting();
    qDebug() << "XXXXXX" << reply;

    // Anything but a full answer leaves the list and the fields as they were.
    DeviceEntry device = defaultEntry();
    int fields = 0;
    switch (NetReply::parse(reply, &device, &fields)) {
    case NetReply::Result::NoPrefix:
        qDebug() << "no network settings in the answer; nothing changed";
        // No answer at all the link has reported already.
        if (!reply.isEmpty())
            emit notice(tr("the answer to Get holds no network settings; nothing changed"));
        return;
    case NetReply::Result::TooFewFields:
        qDebug() << "network settings answer has" << fields << "of" << NetReply::FieldCount
                 << "fields; nothing changed";
        emit notice(tr("the answer to Get has %1 of %2 fields; nothing changed").arg(fields).arg(NetReply::FieldCount));
        return;
    case NetReply::Result::Ok:
        break;
    }

    // Over TCP the answer is from the device at the other end of the link, whose
    // address may be shared with others behind one multi-port server; over the
    // serial port only the answer's address says which row it is.
    const bool overTcp = adapter.commandLink() == protocoladapter::TcpLink;
    for (int row = 0; row < m_devices.size(); ++row) {
        const DeviceEntry &stored = m_devices.at(row);
        if (overTcp ? adapter.isTcpLinkTo(stored.ip, stored.port) : stored.ip == device.ip) {
            // The answer knows nothing of the operator's name for the device.
            device.alias = stored.alias;
            updateRow(row, device);
            break;
        }
    }
    if (adapter.isSerialOpen()) {
        m_ipEdit->setText(device.ip);
        m_portEdit->setText(device.port);
    }
}

// Over TCP a command reaches only the device at the other end of the link; over
// the serial port the operator says which device is on the cable.
bool CConnectFrame::commandReaches(int row, const char *command)
{
    const protocoladapter &adapter = protocoladapter::instance();
    const QString name = QLatin1String(command);
    if (!adapter.isConnected()) {
        qDebug() << command << "not sent: no link is open; the device list is left as it is";
        emit notice(tr("%1 not sent: no link is open").arg(name));
        return false;
    }
    const DeviceEntry &device = m_devices.at(row);
    if (adapter.commandLink() == protocoladapter::TcpLink && !adapter.isTcpLinkTo(device.ip, device.port)) {
        const QString address = device.ip + QLatin1Char(':') + device.port;
        qDebug().noquote() << command << "not sent: the TCP link is not to" << address
                           << "- the device list is left as it is";
        emit notice(tr("%1 not sent: the TCP link is not to %2").arg(name, address));
        return false;
    }
    return true;
}

// The device changed its address, so the TCP link is gone.
void CConnectFrame::dropTcpAfterNetChange()
{
    protocoladapter &adapter = protocoladapter::instance();
    if (!adapter.isTcpConnected())
        return;
    if (!adapter.disconnectTcp())
        updateLinkUi(NetSide, false);
}

void CConnectFrame::onReset()
{
    const int row = currentDeviceRow();
    if (row < 0 || !commandReaches(row, "HWR"))
        return;
    if (!protocoladapter::instance().sendNetReset()) {
        qDebug() << "HWR could not be written; the device list is left as it is";
        return;
    }
    dropTcpAfterNetChange();
    // The card forgets its settings, not the operator's name for it.
    const QString alias = m_devices.at(row).alias;
    m_devices[row] = defaultEntry();
    m_devices[row].alias = alias;
    refreshTable();
}

void CConnectFrame::onSetting()
{
    const int row = currentDeviceRow();
    if (row < 0 || !commandReaches(row, "HWS"))
        return;
    CConfigIPDlg *dialog = networkDialog();
    dialog->setEntry(m_devices.at(row));
    // The link may have gone while the dialog was open.
    if (dialog->exec() != QDialog::Accepted || row >= m_devices.size() || !commandReaches(row, "HWS"))
        return;
    DeviceEntry changed = dialog->entry();
    if (!protocoladapter::instance().sendNetSetting(changed.ip, changed.subnet, changed.gateway)) {
        qDebug() << "HWS could not be written; the device list is left as it is";
        return;
    }
    changed.alias = m_devices.at(row).alias;
    updateRow(row, changed);
    dropTcpAfterNetChange();
}

void CConnectFrame::onSeleteAll()
{
    for (int row = 0; row < m_deviceModel->rowCount(); ++row)
        m_deviceModel->setData(m_deviceModel->index(row, TickColumn), true, Qt::EditRole);
    m_deviceTable->selectAll();
}

void CConnectFrame::onClearAll()
{
    clearTable();
}

void CConnectFrame::slotContextMenu(QPoint point)
{
    const QModelIndex index = m_deviceTable->indexAt(point);
    if (!index.isValid())
        return;
    m_upAction->setEnabled(index.row() != 0);
    m_downAction->setEnabled(index.row() != m_devices.size() - 1);
    m_contextMenu->exec(QCursor::pos());
}

void CConnectFrame::onSetAlias()
{
    const int row = currentDeviceRow();
    if (row < 0)
        return;
    if (!m_aliasDialog) {
        m_aliasDialog = new CAliasSetting(CAliasSetting::IpCardMode,
                                          parentWidget() ? parentWidget() : this);
    }
    // The kept dialog takes its title again, in case the language changed since.
    m_aliasDialog->setMode(CAliasSetting::IpCardMode);
    DeviceEntry device = m_devices.at(row);
    m_aliasDialog->setDefaultText(device.ip);
    m_aliasDialog->setAlias(device.alias);
    if (m_aliasDialog->exec() != QDialog::Accepted || row >= m_devices.size())
        return;
    device.alias = m_aliasDialog->alias();
    updateRow(row, device);
}

void CConnectFrame::onUp()
{
    const int row = currentDeviceRow();
    if (row <= 0)
        return;
    swapDevices(row, row - 1);
}

void CConnectFrame::onDown()
{
    const int row = currentDeviceRow();
    if (row < 0 || row + 1 >= m_devices.size())
        return;
    swapDevices(row, row + 1);
}

// The tick goes with its device, so Connect still reaches the one ticked.
void CConnectFrame::swapDevices(int row, int other)
{
    std::swap(m_devices[row], m_devices[other]);
    const QModelIndex tick = m_deviceModel->index(row, TickColumn);
    const QModelIndex otherTick = m_deviceModel->index(other, TickColumn);
    const QVariant ticked = tick.data(Qt::EditRole);
    m_deviceModel->setData(tick, otherTick.data(Qt::EditRole), Qt::EditRole);
    m_deviceModel->setData(otherTick, ticked, Qt::EditRole);
    refreshTable();
}

void CConnectFrame::onDelete()
{
    const int row = currentDeviceRow();
    if (row < 0)
        return;
    m_deviceModel->removeRows(0, m_deviceModel->rowCount());
    m_devices.removeAt(row);
    refreshTable();
}

void CConnectFrame::refreshTable()
{
    for (int row = 0; row < m_devices.size(); ++row) {
        const DeviceEntry &device = m_devices.at(row);
        m_deviceModel->setItem(row, IpColumn, new QStandardItem(device.ip));
        m_deviceModel->setItem(row, PortColumn, new QStandardItem(device.port));
        m_deviceModel->setItem(row, AliasColumn, new QStandardItem(device.alias));
    }
    storeDevices();
}

void CConnectFrame::updateRow(int row, const DeviceEntry &entry)
{
    qDebug() << "vvvvv" << entry.ip;
    m_deviceModel->setItem(row, IpColumn, new QStandardItem(entry.ip));
    m_deviceModel->setItem(row, PortColumn, new QStandardItem(entry.port));
    m_deviceModel->setItem(row, AliasColumn, new QStandardItem(entry.alias));
    m_devices[row] = entry;
    storeDevices();
}

void CConnectFrame::clearTable()
{
    m_deviceModel->removeRows(0, m_deviceModel->rowCount());
    m_devices.clear();
    storeDevices();
}

// What the operator entered is on disk at once, not only at exit.
void CConnectFrame::storeDevices()
{
    if (m_addressBook)
        m_addressBook->setEntries(m_devices);
}
