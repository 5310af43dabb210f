#pragma once

#include "link/protocoladapter.h"

#include <QFrame>
#include <QPointer>

class CAliasSetting;
class CConfigIPDlg;
class CIPEdit;
class CheckBoxDelegate;
class DeviceListMenu;
class DeviceListModel;
class LinkKeeper;
class QGroupBox;
class QLabel;
class QLineEdit;
class QModelIndex;
class QPushButton;
class QTableView;
class SerialLinkGroup;

// Opens and closes the serial and TCP links and keeps the list of networked
// matrices, whose network settings it can read, change or reset over the link.
// Every exchange with the device goes through protocoladapter. At exit the
// serial group stores its choices and the device list its entries.
class CConnectFrame : public QFrame
{
    Q_OBJECT

public:
    explicit CConnectFrame(QWidget *parent = nullptr);

    // Dropped links are tried again by the keeper; the buttons show it and stop it.
    void setLinkKeeper(LinkKeeper *keeper);

signals:
    // A line for the console: a command not sent, or an answer not taken.
    void notice(const QString &text);

protected:
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private slots:
    void doItemClicked(const QModelIndex &index);
    void doItemDoubleClicked(const QModelIndex &index);
    void onConnectPort();
    void onConnectNet();
    void onAdd();
    void onGet();
    void onReset();
    void onSetting();
    void onSeleteAll();
    void onClearAll();
    void slotContextMenu(QPoint point);
    void onSetAlias();
    void onUp();
    void onDown();
    void onDelete();

private:
    void initLayout();
    void initTable();
    void initConnections();
    void retranslateUi();
    void nameControls();
    QPushButton *connectButton(protocoladapter::LinkKind side) const;
    void updateLinkUi(protocoladapter::LinkKind side, bool connected);
    void fitAddressColumns();
    // Whether a network card command for the device of this row goes out on
    // the open link; if not, a debug line says why.
    bool commandReaches(int row, const char *command);
    void fitLinkButtons();
    void dropTcpAfterNetChange();
    void showRetrying(protocoladapter::LinkKind side);
    // The operator's Disconnect of a link that is being tried again.
    bool stopRetrying(protocoladapter::LinkKind side);

    // The table's current row, or -1 when none is current. The model takes its
    // rows out through the view, so the current index never names one gone.
    int currentDeviceRow() const;
    CConfigIPDlg *networkDialog();

    // In the order they are made.
    SerialLinkGroup *m_serial = nullptr;
    QGroupBox *m_netGroup = nullptr;
    QTableView *m_deviceTable = nullptr;
    QPushButton *m_addButton = nullptr;
    QPushButton *m_netConnectButton = nullptr;
    QPushButton *m_allButton = nullptr;
    QPushButton *m_clearButton = nullptr;
    QLabel *m_ipLabel = nullptr;
    CIPEdit *m_ipEdit = nullptr;
    QLabel *m_portLabel = nullptr;
    QLineEdit *m_portEdit = nullptr;
    QPushButton *m_getButton = nullptr;
    DeviceListModel *m_devices = nullptr;
    CheckBoxDelegate *m_checkDelegate = nullptr;
    DeviceListMenu *m_contextMenu = nullptr;
    // The dialogs belong to the parent widget; the pointers only remember them.
    QPointer<CConfigIPDlg> m_networkDialog;
    QString m_connectText;
    QString m_disconnectText;
    QPointer<CAliasSetting> m_aliasDialog;
    // What each connect button last showed, so a language change keeps it true.
    bool m_netShownConnected = false;
    bool m_serialShownConnected = false;
    QPointer<LinkKeeper> m_keeper;
};
