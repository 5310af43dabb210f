#include "panels/cdebugerframe.h"

#include "link/hextext.h"
#include "link/protocoladapter.h"

#include <QCheckBox>
#include <QDateTime>
#include <QEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

namespace {

// Old lines go in batches: every removal at the top makes the text edit lay
// out the whole log again, which with one removal per new line cost about
// 10 ms per command once the log was full.
void dropOldLines(QTextDocument *document)
{
    const int excess = document->blockCount() - CDebugerFrame::LogLineLimit;
    if (excess < CDebugerFrame::LogTrimBatch)
        return;
    QTextCursor top(document);
    top.movePosition(QTextCursor::NextBlock, QTextCursor::KeepAnchor, excess);
    top.removeSelectedText();
}

// Added as plain text: a command such as "<b>" is shown as sent, not as markup.
void appendLine(QTextEdit *log, const QString &line)
{
    QScrollBar *bar = log->verticalScrollBar();
    const bool atBottom = bar->value() >= bar->maximum();
    QTextCursor cursor(log->document());
    cursor.movePosition(QTextCursor::End);
    if (!log->document()->isEmpty())
        cursor.insertBlock();
    cursor.insertText(line);
    dropOldLines(log->document());
    if (atBottom)
        bar->setValue(bar->maximum());
}

} // namespace

CDebugerFrame::CDebugerFrame(QWidget *parent)
    : QFrame(parent)
{
    initLayout();
    initConnections();
    retranslate();
}

QTextEdit *CDebugerFrame::createLog(const QString &name)
{
    auto *log = new QTextEdit(this);
    log->setObjectName(name);
    log->setReadOnly(true);
    // The style sheet picks its own fixed-width face; this one serves without it.
    log->setFont(QFontDatabase::systemFont(QFontDatabase::FixedFont));
    // Nothing to undo in a log, and no history to grow with it.
    log->document()->setUndoRedoEnabled(false);
    return log;
}

void CDebugerFrame::initLayout()
{
    m_textLog = createLog(QStringLiteral("textLog"));
    m_hexLog = createLog(QStringLiteral("hexLog"));

    m_testGroup = new QGroupBox(this);
    m_testGroup->setObjectName(QStringLiteral("testGroup"));
    m_hexSwitch = new QCheckBox(m_testGroup);
    m_hexSwitch->setObjectName(QStringLiteral("hexSwitch"));
    m_commandEdit = new QLineEdit(m_testGroup);
    m_commandEdit->setObjectName(QStringLiteral("commandEdit"));
    m_sendButton = new QPushButton(m_testGroup);
    m_sendButton->setObjectName(QStringLiteral("sendButton"));

    auto *testRow = new QHBoxLayout(m_testGroup);
    testRow->setSpacing(RowSpacing);
    testRow->addWidget(m_hexSwitch);
    testRow->addWidget(m_commandEdit);
    testRow->addWidget(m_sendButton);

    auto *logRow = new QHBoxLayout;
    logRow->addWidget(m_textLog);
    logRow->addWidget(m_hexLog);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(Margin, Margin, Margin, Margin);
    layout->addLayout(logRow);
    layout->addWidget(m_testGroup);
}

void CDebugerFrame::initConnections()
{
    connect(m_sendButton, &QPushButton::clicked, this, &CDebugerFrame::clickSend);
    connect(m_hexSwitch, &QCheckBox::clicked, this, &CDebugerFrame::clickCheckBox);
    connect(&protocoladapter::instance(), &protocoladapter::sendData, this, &CDebugerFrame::onDataSending);
}

void CDebugerFrame::retranslate()
{
    m_testGroup->setTitle(tr("Tset code"));
    m_hexSwitch->setText(tr("Hex"));
    m_sendButton->setText(tr("send"));
    m_textLog->setAccessibleName(tr("Command log"));
    m_hexLog->setAccessibleName(tr("Command log in hex"));
    m_commandEdit->setAccessibleName(tr("Command to send"));
}

void CDebugerFrame::changeEvent(QEvent *event)
{
    QFrame::changeEvent(event);
    if (event->type() == QEvent::LanguageChange)
        retranslate();
}

void CDebugerFrame::onDataSending(const QString &strValue)
{
    const QString stamp = QDateTime::currentDateTime().toString(QStringLiteral("hh:mm:ss:zzz"));
    appendLine(m_textLog, QStringLiteral("%1 %2").arg(stamp, strValue));
    appendLine(m_hexLog, QStringLiteral("%1 %2").arg(stamp, HexText::toHexText(strValue.toLatin1())));
}

void CDebugerFrame::clickSend()
{
    QString text = m_commandEdit->text();
    if (m_hexSwitch->isChecked())
        text = QString::fromUtf8(HexText::fromHexText(text));
    protocoladapter::instance().sendRaw(text);
}

void CDebugerFrame::clickCheckBox()
{
    const QString text = m_commandEdit->text();
    if (text.isEmpty())
        return;
    if (m_hexSwitch->isChecked())
        m_commandEdit->setText(HexText::toHexText(text.toLatin1()));
    else
        m_commandEdit->setText(QString::fromUtf8(HexText::fromHexText(text)));
}
