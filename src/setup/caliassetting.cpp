#include "setup/caliassetting.h"

#include <QDebug>
#include <QEvent>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

bool CAliasSetting::readMatrixId(const QString &text, int *id)
{
    return parseMatrixId(text, id);
}

CAliasSetting::CAliasSetting(int mode, QWidget *parent)
    : QDialog(parent)
    , m_mode(mode)
{
    applyModeTexts();
    setWindowTitle(m_title);
    initUi();
    initConnections();
}

void CAliasSetting::applyModeTexts()
{
    switch (m_mode) {
    case SceneMode:
        m_title = tr("Scene Alias");
        m_label = tr("Scene");
        break;
    case MatrixInMode:
        m_title = tr("Matrix In Alias");
        m_label = tr("Matrix In");
        break;
    case MatrixOutMode:
        m_title = tr("Matrix Out Alias");
        m_label = tr("Matrix Out");
        break;
    case MatrixIdMode:
        m_title = tr("Matrix ID Setting");
        m_label = tr("Matrix ID");
        break;
    case IpCardMode:
        m_title = tr("IP Card Alias");
        m_label = tr("IP");
        break;
    default:
        break;
    }
}

void CAliasSetting::initUi()
{
    m_defaultLabel = new QLabel(tr("Defualt"));
    m_newLabel = new QLabel(tr("New"));
    m_defaultEdit = new QLineEdit;
    m_defaultEdit->setEnabled(false);
    m_defaultEdit->setAlignment(Qt::AlignCenter);
    m_newEdit = new QLineEdit;
    m_newEdit->setAlignment(Qt::AlignCenter);
    m_okButton = new QPushButton(tr("Ok"));
    m_cancelButton = new QPushButton(tr("Cancel"));
    m_okButton->setDefault(true);
    m_hintLabel = new QLabel;
    m_hintLabel->setStyleSheet(QStringLiteral("color: red;"));
    m_hintLabel->hide();

    auto *form = new QFormLayout;
    form->addRow(m_defaultLabel, m_defaultEdit);
    form->addRow(m_newLabel, m_newEdit);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_okButton);
    buttons->addWidget(m_cancelButton);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_hintLabel);
    layout->addLayout(buttons);
    nameFields();
}

void CAliasSetting::initConnections()
{
    connect(m_okButton, &QPushButton::clicked, this, &CAliasSetting::doOK);
    connect(m_cancelButton, &QPushButton::clicked, this, &CAliasSetting::doCancel);
}

void CAliasSetting::setMode(int mode)
{
    m_mode = mode;
    applyModeTexts();
    setWindowTitle(m_title);
}

void CAliasSetting::setIndex(int n)
{
    m_index = n;
    m_defaultText = QStringLiteral("%1 %2").arg(m_label).arg(n);
    m_defaultEdit->setText(m_defaultText);
    qDebug() << "XXXXXXXXXX" << n;
}

void CAliasSetting::setDefaultText(const QString &text)
{
    m_defaultEdit->setText(text);
}

void CAliasSetting::setAlias(const QString &text)
{
    m_newEdit->setText(text);
    qDebug() << "XXXXXXXXXX" << text;
}

QString CAliasSetting::alias() const
{
    const QString typed = m_newEdit->text();
    return typed.isEmpty() ? m_defaultEdit->text() : typed;
}

// A matrix ID that is no ID keeps the dialog open and says why, so that a typo
// never becomes the address of every later command.
void CAliasSetting::doOK()
{
    int id = 0;
    if (m_mode == MatrixIdMode && !readMatrixId(m_newEdit->text(), &id)) {
        m_hintLabel->setText(tr("A matrix ID is a whole number from 0 to %1.").arg(MaxMatrixId));
        m_hintLabel->show();
        m_newEdit->setFocus();
        m_newEdit->selectAll();
        return;
    }
    accept();
}

// Each opening starts in the New field with its text selected, so that what the
// operator types replaces it and no key reaches a button.
void CAliasSetting::showEvent(QShowEvent *event)
{
    QDialog::showEvent(event);
    m_hintLabel->hide();
    m_newEdit->setFocus();
    m_newEdit->selectAll();
}

void CAliasSetting::doCancel()
{
    reject();
}

void CAliasSetting::changeEvent(QEvent *event)
{
    QDialog::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslateUi();
}

void CAliasSetting::retranslateUi()
{
    applyModeTexts();
    m_okButton->setText(tr("Ok"));
    m_cancelButton->setText(tr("Cancel"));
    m_defaultLabel->setText(tr("Default"));
    m_newLabel->setText(tr("New"));
    nameFields();
}

// The two fields are named after their labels, for screen readers.
void CAliasSetting::nameFields()
{
    m_defaultLabel->setBuddy(m_defaultEdit);
    m_newLabel->setBuddy(m_newEdit);
    m_defaultEdit->setAccessibleName(m_defaultLabel->text());
    m_newEdit->setAccessibleName(m_newLabel->text());
}
