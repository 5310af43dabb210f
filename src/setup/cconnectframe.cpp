#include "setup/cconnectframe.h"

#include "link/linkkeeper.h"
#include "link/netcardrules.h"
#include "link/netreply.h"
#include "link/protocoladapter.h"
#include "setup/caliassetting.h"
#include "setup/cconfigipdlg.h"
#include "setup/devicelistmenu.h"
#include "setup/devicelistmodel.h"
#include "setup/seriallinkgroup.h"
#include "widgets/checkboxdelegate.h"
#include "widgets/cipedit.h"

#include <QDebug>
#include <QEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QVBoxLayout>

namespace {

using Column = DeviceListModel::Column;

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
constexpr int IpLabelMaximumWidth = 40;
constexpr int IpFieldWidth = 120;

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

} // namespace

CConnectFrame::CConnectFrame(QWidget *parent)
    : QFrame(parent)
{
    initLayout();
    initTable();
    initConnections();
    m_serial->fillLists();
    retranslateUi();
    m_getButton->setEnabled(false);
}

void CConnectFrame::initLayout()
{
    // Everything is made inside its final parent: a finished group moved in
    // later would have its whole content styled again.
    m_serial = new SerialLinkGroup(this);
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
    frameLayout->addWidget(m_serial, ComGroupStretch);
    frameLayout->addWidget(m_netGroup, NetGroupStretch);
    frameLayout->setContentsMargins(FrameMargin, FrameMargin, FrameMargin, FrameMargin);
}

void CConnectFrame::initTable()
{
    m_devices = new DeviceListModel(this);
    m_checkDelegate = new CheckBoxDelegate(m_deviceTable);
    m_deviceTable->setModel(m_devices);
    m_deviceTable->setItemDelegate(m_checkDelegate);
    m_deviceTable->setColumnWidth(Column::TickColumn, TickColumnWidth);
    m_deviceTable->setColumnWidth(Column::AliasColumn, AliasColumnWidth);
    fitAddressColumns();
    m_deviceTable->installEventFilter(this);
    m_deviceTable->horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    // The alias takes the room the panel leaves, so the table needs no sideways scrolling.
    m_deviceTable->horizontalHeader()->setSectionResizeMode(Column::AliasColumn, QHeaderView::Stretch);
    m_deviceTable->verticalHeader()->hide();
    m_deviceTable->verticalHeader()->setDefaultSectionSize(RowHeight);
    m_deviceTable->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_deviceTable->setEditTriggers(QAbstractItemView::NoEditTriggers);
    // Tab moves between the controls of the panel, not between the cells.
    m_deviceTable->setTabKeyNavigation(false);
    m_deviceTable->setContextMenuPolicy(Qt::CustomContextMenu);
    m_contextMenu = new DeviceListMenu(m_deviceTable);
    connect(m_contextMenu, &DeviceListMenu::settingChosen, this, &CConnectFrame::onSetting);
    connect(m_contextMenu, &DeviceListMenu::resetChosen, this, &CConnectFrame::onReset);
    connect(m_contextMenu, &DeviceListMenu::deleteChosen, this, &CConnectFrame::onDelete);
    connect(m_contextMenu, &DeviceListMenu::setAliasChosen, this, &CConnectFrame::onSetAlias);
    connect(m_contextMenu, &DeviceListMenu::upChosen, this, &CConnectFrame::onUp);
    connect(m_contextMenu, &DeviceListMenu::downChosen, this, &CConnectFrame::onDown);
    connect(m_deviceTable, &QWidget::customContextMenuRequested, this, &CConnectFrame::slotContextMenu);
}

void CConnectFrame::initConnections()
{
    connect(m_deviceTable, &QAbstractItemView::clicked, this, &CConnectFrame::doItemClicked);
    connect(m_deviceTable, &QAbstractItemView::doubleClicked, this, &CConnectFrame::doItemDoubleClicked);
    connect(m_netConnectButton, &QPushButton::clicked, this, &CConnectFrame::onConnectNet);
    connect(m_addButton, &QPushButton::clicked, this, &CConnectFrame::onAdd);
    connect(m_serial->connectButton(), &QPushButton::clicked, this, &CConnectFrame::onConnectPort);
    connect(m_getButton, &QPushButton::clicked, this, &CConnectFrame::onGet);
    connect(m_allButton, &QPushButton::clicked, this, &CConnectFrame::onSeleteAll);
    connect(m_clearButton, &QPushButton::clicked, this, &CConnectFrame::onClearAll);
    // The device closed a link under us: show that side as it now is.
    connect(&protocoladapter::instance(), &protocoladapter::linkDropped, this, [this](protocoladapter::LinkKind kind) {
        if (!m_keeper || !m_keeper->isRetrying(kind))
            updateLinkUi(kind, false);
    });
}

void CConnectFrame::setLinkKeeper(LinkKeeper *keeper)
{
    m_keeper = keeper;
    connect(keeper, &LinkKeeper::retrying, this, [this](protocoladapter::LinkKind kind) { showRetrying(kind); });
    connect(keeper, &LinkKeeper::restored, this, [this](protocoladapter::LinkKind kind) { updateLinkUi(kind, true); });
}

// The side stays taken, as the operator left it, and its button stops the tries.
void CConnectFrame::showRetrying(protocoladapter::LinkKind side)
{
    updateLinkUi(side, true);
    connectButton(side)->setText(tr("retrying"));
    connectButton(side)->setToolTip(tr("The link dropped and is being tried again; click to stop"));
}

bool CConnectFrame::stopRetrying(protocoladapter::LinkKind side)
{
    if (!m_keeper || !m_keeper->isRetrying(side))
        return false;
    m_keeper->stop(side);
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
    fitToTexts(m_serial->connectButton(), texts);
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
        Column::IpColumn, qMax(IpColumnWidth, metrics.horizontalAdvance(WidestAddress) + CellTextMargin));
    m_deviceTable->setColumnWidth(
        Column::PortColumn, qMax(PortColumnWidth, metrics.horizontalAdvance(WidestPort) + CellTextMargin));
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
    m_serial->retranslateUi();
    m_serial->connectButton()->setText(m_serialShownConnected ? m_disconnectText : tr("Connect"));
    for (protocoladapter::LinkKind side : {protocoladapter::TcpLink, protocoladapter::SerialLink}) {
        if (m_keeper && m_keeper->isRetrying(side))
            showRetrying(side);
    }
    m_contextMenu->retranslateUi();
    m_allButton->setText(tr("All"));
    m_clearButton->setText(tr("Clear"));
    fitLinkButtons();
    nameControls();
}

// Controls without text of their own are named after the label beside them.
void CConnectFrame::nameControls()
{
    m_portLabel->setBuddy(m_portEdit);
    m_portEdit->setAccessibleName(m_portLabel->text());
    m_deviceTable->setAccessibleName(tr("Devices"));
    m_devices->retranslate();
}

QPushButton *CConnectFrame::connectButton(protocoladapter::LinkKind side) const
{
    return side == protocoladapter::TcpLink ? m_netConnectButton : m_serial->connectButton();
}

void CConnectFrame::updateLinkUi(protocoladapter::LinkKind side, bool connected)
{
    connectButton(side)->setToolTip(QString());
    connectButton(side)->setText(connected ? m_disconnectText : m_connectText);
    if (side == protocoladapter::TcpLink) {
        m_netShownConnected = connected;
        m_ipEdit->setEnabled(!connected);
        m_portEdit->setEnabled(!connected);
    } else {
        m_serialShownConnected = connected;
        m_serial->showOpen(connected);
    }
    m_getButton->setEnabled(protocoladapter::instance().isConnected());
}

void CConnectFrame::onConnectPort()
{
    if (stopRetrying(protocoladapter::SerialLink))
        return;
    protocoladapter &adapter = protocoladapter::instance();
    if (adapter.isSerialOpen()) {
        adapter.closeSerial();
        updateLinkUi(protocoladapter::SerialLink, false);
        return;
    }
    const QString portName = m_serial->portName();
    if (adapter.openSerial(portName, m_serial->baud())) {
        qDebug() << "open port" << portName;
        updateLinkUi(protocoladapter::SerialLink, true);
    } else {
        qDebug() << "can't open port";
    }
}

void CConnectFrame::onConnectNet()
{
    if (stopRetrying(protocoladapter::TcpLink))
        return;
    protocoladapter &adapter = protocoladapter::instance();
    if (adapter.isTcpConnected()) {
        if (!adapter.disconnectTcp())
            updateLinkUi(protocoladapter::TcpLink, false);
        return;
    }
    const QList<int> ticked = m_devices->tickedRows();
    if (ticked.isEmpty()) {
        emit notice(tr("Connect: no row is ticked"));
        return;
    }
    const DeviceEntry device = m_devices->device(ticked.first());
    if (ticked.size() > 1) {
        emit notice(tr("%1 rows are ticked: connecting to the topmost, %2:%3")
                        .arg(ticked.size()).arg(device.ip, device.port));
    }
    if (adapter.connectTcp(device.ip, device.port)) {
        qDebug() << QStringLiteral("Connect to ") + m_ipEdit->text() + QLatin1Char(':') + m_portEdit->text();
        updateLinkUi(protocoladapter::TcpLink, true);
    } else {
        qDebug() << "can't connect to service";
    }
}

int CConnectFrame::currentDeviceRow() const
{
    return m_deviceTable->currentIndex().row();
}

CConfigIPDlg *CConnectFrame::networkDialog()
{
    if (!m_networkDialog)
        m_networkDialog = new CConfigIPDlg(parentWidget() ? parentWidget() : this);
    return m_networkDialog;
}

void CConnectFrame::doItemClicked(const QModelIndex &index)
{
    const DeviceEntry device = m_devices->device(index.row());
    m_ipEdit->setText(device.ip);
    m_portEdit->setText(device.port);
}

void CConnectFrame::doItemDoubleClicked(const QModelIndex &index)
{
    const int row = index.row();
    CConfigIPDlg *dialog = networkDialog();
    dialog->setEntry(m_devices->device(row));
    if (dialog->exec() != QDialog::Accepted || row >= m_devices->rowCount())
        return;
    const DeviceEntry edited = dialog->entry();
    // An unchanged address keeps the name the operator gave it.
    if (NetCardRules::withSettings(edited, m_devices->device(row)) != m_devices->device(row))
        m_devices->setDevice(row, edited);
}

void CConnectFrame::onAdd()
{
    CConfigIPDlg *dialog = networkDialog();
    dialog->setEntry(NetCardRules::factoryEntry());
    // A new device may listen on any port; nothing is sent to it here.
    dialog->setPortEditable(true);
    if (dialog->exec() == QDialog::Accepted)
        m_devices->appendDevice(dialog->entry());
}

void CConnectFrame::onGet()
{
    protocoladapter &adapter = protocoladapter::instance();
    const QString reply = adapter.queryNetSetting();
    qDebug() << "XXXXXX" << reply;

    // Anything but a full answer leaves the list and the fields as they were.
    DeviceEntry device = NetCardRules::factoryEntry();
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

    const int row = NetCardRules::answeringRow(adapter, m_devices->devices(), device);
    if (row >= 0) {
        device = NetCardRules::withSettings(device, m_devices->device(row));
        m_devices->setDevice(row, device);
    }
    if (adapter.isSerialOpen()) {
        m_ipEdit->setText(device.ip);
        m_portEdit->setText(device.port);
    }
}

bool CConnectFrame::commandReaches(int row, const char *command)
{
    const QString name = QLatin1String(command);
    const DeviceEntry device = m_devices->device(row);
    const NetCardRules::Reach reach = NetCardRules::reach(protocoladapter::instance(), device);
    if (reach == NetCardRules::Reach::NoLink) {
        qDebug() << command << "not sent: no link is open; the device list is left as it is";
        emit notice(tr("%1 not sent: no link is open").arg(name));
    } else if (reach == NetCardRules::Reach::OtherDevice) {
        const QString address = device.ip + QLatin1Char(':') + device.port;
        qDebug().noquote() << command << "not sent: the TCP link is not to" << address
                           << "- the device list is left as it is";
        emit notice(tr("%1 not sent: the TCP link is not to %2").arg(name, address));
    }
    return reach == NetCardRules::Reach::Reaches;
}

// The device changed its address, so the TCP link is gone.
void CConnectFrame::dropTcpAfterNetChange()
{
    protocoladapter &adapter = protocoladapter::instance();
    if (!adapter.isTcpConnected())
        return;
    if (!adapter.disconnectTcp())
        updateLinkUi(protocoladapter::TcpLink, false);
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
    m_devices->setDevice(row, NetCardRules::afterReset(m_devices->device(row)));
}

void CConnectFrame::onSetting()
{
    const int row = currentDeviceRow();
    if (row < 0 || !commandReaches(row, "HWS"))
        return;
    CConfigIPDlg *dialog = networkDialog();
    dialog->setEntry(m_devices->device(row));
    // The link may have gone while the dialog was open.
    if (dialog->exec() != QDialog::Accepted || row >= m_devices->rowCount() || !commandReaches(row, "HWS"))
        return;
    const DeviceEntry changed = dialog->entry();
    if (!protocoladapter::instance().sendNetSetting(changed.ip, changed.subnet, changed.gateway)) {
        qDebug() << "HWS could not be written; the device list is left as it is";
        return;
    }
    m_devices->setDevice(row, NetCardRules::withSettings(changed, m_devices->device(row)));
    dropTcpAfterNetChange();
}

void CConnectFrame::onSeleteAll()
{
    m_devices->tickAll();
    m_deviceTable->selectAll();
}

void CConnectFrame::onClearAll()
{
    m_devices->clear();
}

void CConnectFrame::slotContextMenu(QPoint point)
{
    const QModelIndex index = m_deviceTable->indexAt(point);
    if (!index.isValid())
        return;
    m_contextMenu->popUpFor(index.row(), m_devices->rowCount());
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
    DeviceEntry device = m_devices->device(row);
    m_aliasDialog->setDefaultText(device.ip);
    m_aliasDialog->setAlias(device.alias);
    if (m_aliasDialog->exec() != QDialog::Accepted || row >= m_devices->rowCount())
        return;
    device.alias = m_aliasDialog->alias();
    m_devices->setDevice(row, device);
}

void CConnectFrame::onUp()
{
    const int row = currentDeviceRow();
    if (row > 0)
        m_devices->swapDevices(row, row - 1);
}

void CConnectFrame::onDown()
{
    const int row = currentDeviceRow();
    if (row >= 0 && row + 1 < m_devices->rowCount())
        m_devices->swapDevices(row, row + 1);
}

void CConnectFrame::onDelete()
{
    const int row = currentDeviceRow();
    if (row >= 0)
        m_devices->removeDevice(row);
}
