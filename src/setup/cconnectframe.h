#pragma once

#include "config/deviceentry.h"

#include <QFrame>
#include <QList>
#include <QPointer>

#include <memory>

class CAliasSetting;
class CConfigIPDlg;
class CIPEdit;
class CheckBoxDelegate;
class DeviceStore;
class LinkKeeper;
class QAction;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QModelIndex;
class QPushButton;
class QStandardItemModel;
class QTableView;

// Opens and closes the serial and TCP links and keeps the list of networked
// matrices, whose network settings it can read, change or reset over the link.
// Every exchange with the device goes through protocoladapter.
class CConnectFrame : public QFrame
{
    Q_OBJECT

public:
    explicit CConnectFrame(QWidget *parent = nullptr);
    ~CConnectFrame() override;

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
    enum LinkSide { NetSide, SerialSide };

    void initLayout();
    void initTable();
    void initComboBoxes();
    void initConnections();
    void retranslateUi();
    void nameControls();
    void nameTickCells(int first, int last);
    void updateLinkUi(LinkSide side, bool connected);
    void refreshTable();
    void updateRow(int row, const DeviceEntry &entry);
    void clearTable();
    void storeDevices();
    void swapDevices(int row, int other);
    void fitAddressColumns();
    // Whether a network card command for the device of this row goes out on
    // the open link; if not, a debug line says why.
    bool commandReaches(int row, const char *command);
    void fitLinkButtons();
    void dropTcpAfterNetChange();
    void showRetrying(LinkSide side);
    // The operator's Disconnect of a link that is being tried again.
    bool stopRetrying(LinkSide side);

    CConfigIPDlg *networkDialog();
    // The table's current row when it names a device, else -1.
    int currentDeviceRow() const;
    bool isTicked(int row) const;

    QGroupBox *m_netGroup = nullptr;
    QGroupBox *m_comGroup = nullptr;
    QTableView *m_deviceTable = nullptr;
    QAction *m_setAliasAction = nullptr;
    QAction *m_upAction = nullptr;
    QAction *m_downAction = nullptr;
    QAction *m_deleteAction = nullptr;
    QAction *m_settingAction = nullptr;
    QAction *m_resetAction = nullptr;
    QMenu *m_contextMenu = nullptr;
    QStandardItemModel *m_deviceModel = nullptr;
    CheckBoxDelegate *m_checkDelegate = nullptr;
    QLabel *m_ipLabel = nullptr;
    QLabel *m_portLabel = nullptr;
    CIPEdit *m_ipEdit = nullptr;
    QLineEdit *m_portEdit = nullptr;
    QPushButton *m_netConnectButton = nullptr;
    QPushButton *m_getButton = nullptr;
    QPushButton *m_addButton = nullptr;
    QLabel *m_comLabel = nullptr;
    QLabel *m_baudLabel = nullptr;
    QComboBox *m_portList = nullptr;
    QComboBox *m_baudList = nullptr;
    QPushButton *m_serialConnectButton = nullptr;
    QList<DeviceEntry> m_devices;
    // The dialogs belong to the parent widget; the pointers only remember them.
    QPointer<CConfigIPDlg> m_networkDialog;
    QString m_connectText;
    QString m_disconnectText;
    std::unique_ptr<DeviceStore> m_addressBook;
    QPointer<CAliasSetting> m_aliasDialog;
    QPushButton *m_allButton = nullptr;
    QPushButton *m_clearButton = nullptr;
    // What each connect button last showed, so a language change keeps it true.
    bool m_netShownConnected = false;
    bool m_serialShownConnected = false;
    QPointer<LinkKeeper> m_keeper;
};
