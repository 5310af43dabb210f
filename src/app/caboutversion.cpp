#include "app/caboutversion.h"

#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace {

// Neither the version nor the notice is translated: they read the same everywhere.
const QString VersionText = QStringLiteral("DAVUZE roruzud Adider V1.2");
const QString WindowTitle = QStringLiteral("Version");
const QString AccessWord = QStringLiteral("supplier");
const QString SupplierNotice = QStringLiteral("Supplied by the Matrix Controller project\r\n"
                                              "Free software for matrix switchers");

} // namespace

CAboutversion::CAboutversion(QWidget *parent)
    : QDialog(parent)
{
    setFixedSize(DialogWidth, DialogHeight);
    setWindowTitle(WindowTitle);

    auto *versionLabel = new QLabel(VersionText);
    m_accessEdit = new QLineEdit;
    m_accessEdit->setMaximumWidth(FieldWidth);
    m_accessEdit->setAlignment(Qt::AlignHCenter);
    // Only screen readers hear this; the dialog is made anew in the current language each time.
    m_accessEdit->setAccessibleName(tr("Access word"));
    m_noticeLabel = new QLabel(SupplierNotice);
    m_noticeLabel->hide();

    auto *layout = new QVBoxLayout;
    layout->addWidget(versionLabel, 0, Qt::AlignHCenter);
    layout->addSpacing(RowSpacing);
    layout->addWidget(m_accessEdit, 0, Qt::AlignHCenter);
    layout->addSpacing(RowSpacing);
    layout->addWidget(m_noticeLabel, 0, Qt::AlignHCenter);
    layout->addStretch(BottomStretch);
    setLayout(layout);

    connect(m_accessEdit, &QLineEdit::returnPressed, this, &CAboutversion::updateVersion);
}

// Exact text only: no trimming, case matters. A wrong word is ignored and stays in the field.
void CAboutversion::updateVersion()
{
    if (m_accessEdit->text() == AccessWord)
        m_noticeLabel->show();
}
