#pragma once

#include <QFrame>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPushButton;
class QTextEdit;

// The debug console at the foot of the window: every command sent to the
// matrix, as text and as hex bytes, and a field to send a raw command.
class CDebugerFrame : public QFrame
{
    Q_OBJECT

public:
    explicit CDebugerFrame(QWidget *parent = nullptr);

    // Each log keeps at least this many lines and at most LogTrimBatch more,
    // so that days of automatic switching cannot exhaust memory.
    static constexpr int LogLineLimit = 10000;
    static constexpr int LogTrimBatch = 1000;

public slots:
    void onDataSending(const QString &strValue);
    void onBytesSent(const QByteArray &bytes);
    // A line for the operator that is no command: a failure, or why something stopped.
    void showNotice(const QString &text);

protected:
    void changeEvent(QEvent *event) override;

private slots:
    void clickSend();
    void clickCheckBox();

private:
    void initLayout();
    void initConnections();
    void retranslate();
    QTextEdit *createLog(const QString &name);

    static constexpr int Margin = 10;
    static constexpr int RowSpacing = 10;

    QTextEdit *m_textLog = nullptr;
    QTextEdit *m_hexLog = nullptr;
    QGroupBox *m_testGroup = nullptr;
    QCheckBox *m_hexSwitch = nullptr;
    QLineEdit *m_commandEdit = nullptr;
    QPushButton *m_sendButton = nullptr;
};
