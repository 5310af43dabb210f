#pragma once

#include "config/deviceentry.h"

#include <QDialog>

class CIPEdit;
class QLabel;
class QLineEdit;
class QPushButton;

// Shows one device entry; the operator may change its address, subnet mask
// and gateway. It sends and stores nothing: the caller reads entry() on accept.
class CConfigIPDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CConfigIPDlg(QWidget *parent = nullptr);

    // Shows the port read-only: the network card's settings command carries none.
    void setEntry(const DeviceEntry &entry);
    // For an entry that is only kept, never sent, such as a new device.
    void setPortEditable(bool editable);
    // The alias is never shown here, so it always comes back empty.
    DeviceEntry entry() const;

protected:
    void changeEvent(QEvent *event) override;
    void showEvent(QShowEvent *event) override;

private slots:
    void slotOk();
    void slotCancel();

private:
    void initUi();
    void retranslateUi();
    void nameFields();
    bool validateAddresses() const;
    bool validatePort() const;

    QLabel *m_ipLabel = nullptr;
    QLabel *m_portLabel = nullptr;
    QLabel *m_subnetLabel = nullptr;
    QLabel *m_gatewayLabel = nullptr;
    QLabel *m_macLabel = nullptr;
    CIPEdit *m_ipEdit = nullptr;
    QLineEdit *m_portEdit = nullptr;
    CIPEdit *m_subnetEdit = nullptr;
    CIPEdit *m_gatewayEdit = nullptr;
    QLineEdit *m_macEdit = nullptr;
    QPushButton *m_okButton = nullptr;
    QPushButton *m_cancelButton = nullptr;
};
