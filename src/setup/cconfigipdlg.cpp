#include "setup/cconfigipdlg.h"

#include "widgets/cipedit.h"

#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

namespace {

constexpr int PortFieldMaximumWidth = 68;

const QString DottedQuadPattern =
    QStringLiteral("((2[0-4]\\d|25[0-5]|[01]?\\d\\d?)\\.){3}(2[0-4]\\d|25[0-5]|[01]?\\d\\d?)");
// A TCP port, 1 to 65535, without leading zeros.
const QString PortPattern =
    QStringLiteral("[1-9]\\d{0,3}|[1-5]\\d{4}|6[0-4]\\d{3}|65[0-4]\\d{2}|655[0-2]\\d|6553[0-5]");

} // namespace

CConfigIPDlg::CConfigIPDlg(QWidget *parent)
    : QDialog(parent)
{
    initUi();
    connect(m_okButton, &QPushButton::clicked, this, &CConfigIPDlg::slotOk);
    connect(m_cancelButton, &QPushButton::clicked, this, &CConfigIPDlg::slotCancel);
    setWindowTitle(tr("Net Setting"));
}

void CConfigIPDlg::initUi()
{
    m_ipLabel = new QLabel(tr("ip"));
    m_portLabel = new QLabel(tr("port"));
    m_subnetLabel = new QLabel(tr("subnet"));
    m_gatewayLabel = new QLabel(tr("gateway"));
    m_macLabel = new QLabel(tr("mac"));
    m_ipEdit = new CIPEdit;
    m_portEdit = new QLineEdit;
    m_portEdit->setMaximumWidth(PortFieldMaximumWidth);
    m_portEdit->setValidator(new QRegularExpressionValidator(QRegularExpression(PortPattern), m_portEdit));
    m_portEdit->setEnabled(false);
    m_subnetEdit = new CIPEdit;
    m_gatewayEdit = new CIPEdit;
    m_macEdit = new QLineEdit;
    m_macEdit->setEnabled(false);
    m_okButton = new QPushButton(tr("OK"));
    m_cancelButton = new QPushButton(tr("Cancel"));
    m_okButton->setDefault(true);

    auto *form = new QFormLayout;
    form->addRow(m_ipLabel, m_ipEdit);
    form->addRow(m_portLabel, m_portEdit);
    form->addRow(m_subnetLabel, m_subnetEdit);
    form->addRow(m_gatewayLabel, m_gatewayEdit);
    form->addRow(m_macLabel, m_macEdit);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addLayout(buttons);
    nameFields();
}

void CConfigIPDlg::setEntry(const DeviceEntry &entry)
{
    m_ipEdit->setText(entry.ip);
    m_subnetEdit->setText(entry.subnet);
    m_gatewayEdit->setText(entry.gateway);
    m_portEdit->setText(entry.port);
    m_macEdit->setText(entry.mac);
    setPortEditable(false);
}

void CConfigIPDlg::setPortEditable(bool editable)
{
    m_portEdit->setEnabled(editable);
}

DeviceEntry CConfigIPDlg::entry() const
{
    DeviceEntry result;
    result.ip = m_ipEdit->text();
    result.port = m_portEdit->text();
    result.subnet = m_subnetEdit->text();
    result.gateway = m_gatewayEdit->text();
    result.mac = m_macEdit->text();
    return result;
}

// Form only: a gateway of zeros or an odd subnet mask is the operator's call.
bool CConfigIPDlg::validateAddresses() const
{
    const QRegularExpressionValidator validator{QRegularExpression(DottedQuadPattern)};
    for (const CIPEdit *field : {m_ipEdit, m_subnetEdit, m_gatewayEdit}) {
        QString address = field->text();
        int pos = 0;
        if (validator.validate(address, pos) != QValidator::Acceptable)
            return false;
    }
    return true;
}

// A port shown read-only is the caller's own and passes as it is.
bool CConfigIPDlg::validatePort() const
{
    if (!m_portEdit->isEnabled())
        return true;
    const QRegularExpressionValidator validator{QRegularExpression(PortPattern)};
    QString port = m_portEdit->text();
    int pos = 0;
    return validator.validate(port, pos) == QValidator::Acceptable;
}

void CConfigIPDlg::slotOk()
{
    if (validateAddresses() && validatePort())
        accept();
}

void CConfigIPDlg::slotCancel()
{
    reject();
}

void CConfigIPDlg::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
}

// Reused for every device: each time it opens, typing starts on a fresh address,
// not where the last use left the focus.
void CConfigIPDlg::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_ipEdit->focusFirstPart();
}

void CConfigIPDlg::retranslateUi()
{
    m_ipLabel->setText(tr("ip"));
    m_portLabel->setText(tr("port"));
    m_subnetLabel->setText(tr("subnet"));
    m_gatewayLabel->setText(tr("gateway"));
    m_macLabel->setText(tr("mac"));
    m_okButton->setText(tr("OK"));
    m_cancelButton->setText(tr("Cancel"));
    setWindowTitle(tr("Net Setting"));
    nameFields();
}

// Every field is named after its label, for screen readers; the address
// editors also pass the name on to their four parts.
void CConfigIPDlg::nameFields()
{
    m_ipLabel->setBuddy(m_ipEdit);
    m_portLabel->setBuddy(m_portEdit);
    m_subnetLabel->setBuddy(m_subnetEdit);
    m_gatewayLabel->setBuddy(m_gatewayEdit);
    m_macLabel->setBuddy(m_macEdit);
    m_ipEdit->setFieldName(m_ipLabel->text());
    m_portEdit->setAccessibleName(m_portLabel->text());
    m_subnetEdit->setFieldName(m_subnetLabel->text());
    m_gatewayEdit->setFieldName(m_gatewayLabel->text());
    m_macEdit->setAccessibleName(m_macLabel->text());
}
