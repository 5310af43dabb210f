#include "panels/cdebugerframe.h"

#include "link/hextext.h"
#include "link/logstamp.h"
#include "link/protocoladapter.h"
#include "link/wiretext.h"

#include <QCheckBox>
#include <QEvent>
#include <QFontDatabase>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTextBlockFormat>
#include <QTextCharFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextEdit>
#include <QVBoxLayout>

#include <memory>

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
// Each line takes its own format, so a notice's colour never spreads to the next.
void appendLine(QTextEdit *log, const QString &line, const QTextCharFormat &format = QTextCharFormat())
{
    QTextCursor cursor(log->document());
    cursor.movePosition(QTextCursor::End);
    if (!log->document()->isEmpty())
        cursor.insertBlock(QTextBlockFormat(), format);
    cursor.insertText(line, format);
    dropOldLines(log->document());
}

// A log scrolled to its end stays there as lines come in and as its height
// changes (Setting and Back on the switcher move the console); once the
// operator scrolls up, it stays where it was put.
void followEnd(QTextEdit *log)
{
    QScrollBar *bar = log->verticalScrollBar();
    auto following = std::make_shared<bool>(true);
    QObject::connect(bar, &QScrollBar::valueChanged, log, [bar, following](int value) {
        *following = value >= bar->maximum();
    });
    QObject::connect(bar, &QScrollBar::rangeChanged, log, [bar, following](int, int maximum) {
        if (*following)
            bar->setValue(maximum);
    });
}

QString stamp()
{
    return LogStamp::now();
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
    followEnd(log);
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
    connect(m_commandEdit, &QLineEdit::returnPressed, this, &CDebugerFrame::clickSend);
    connect(m_hexSwitch, &QCheckBox::clicked, this, &CDebugerFrame::clickCheckBox);
    const protocoladapter *adapter = &protocoladapter::instance();
    connect(adapter, &protocoladapter::sendData, this, &CDebugerFrame::onDataSending);
    connect(adapter, &protocoladapter::bytesSent, this, &CDebugerFrame::onBytesSent);
    connect(adapter, &protocoladapter::linkFailed, this, &CDebugerFrame::showNotice);
    connect(adapter, &protocoladapter::notice, this, &CDebugerFrame::showNotice);
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
    appendLine(m_textLog, QStringLiteral("%1 %2").arg(stamp(), strValue));
}

void CDebugerFrame::onBytesSent(const QByteArray &bytes)
{
    appendLine(m_hexLog, QStringLiteral("%1 %2").arg(stamp(), HexText::toHexText(bytes)));
}

// Marked and coloured, so that no notice passes for a command that went out.
void CDebugerFrame::showNotice(const QString &text)
{
    QTextCharFormat format;
    format.setForeground(Qt::red);
    appendLine(m_textLog, QStringLiteral("%1 [!] %2").arg(stamp(), text), format);
}

void CDebugerFrame::clickSend()
{
    const QString text = m_commandEdit->text();
    if (!m_hexSwitch->isChecked()) {
        protocoladapter::instance().sendRaw(text);
        return;
    }
    QByteArray bytes;
    QString badToken;
    if (HexText::fromHexText(text, &bytes, &badToken))
        protocoladapter::instance().sendRawBytes(bytes);
    else
        showNotice(tr("\"%1\" is no hex byte (00 to FF): nothing sent").arg(badToken));
}

// The hex form shows the bytes that text would put on the wire, in the same
// encoding as the link writes it.
void CDebugerFrame::clickCheckBox()
{
    const QString text = m_commandEdit->text();
    if (text.isEmpty())
        return;
    if (m_hexSwitch->isChecked()) {
        m_commandEdit->setText(HexText::toHexText(WireText::bytes(text)));
        return;
    }
    QByteArray bytes;
    QString badToken;
    if (HexText::fromHexText(text, &bytes, &badToken)) {
        m_commandEdit->setText(QString::fromLocal8Bit(bytes));
    } else {
        m_hexSwitch->setChecked(true);
        showNotice(tr("\"%1\" is no hex byte (00 to FF)").arg(badToken));
    }
}
