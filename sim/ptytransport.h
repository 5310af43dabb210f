#pragma once

#include <QObject>
#include <QString>

class QSocketNotifier;
class QTimer;
class Simulator;
class StreamSession;

// A pseudo-terminal pair in raw mode: the program opens slavePath() as the
// matrix's serial port, and the simulator serves the master side.
class PtyTransport : public QObject
{
    Q_OBJECT

public:
    explicit PtyTransport(Simulator &simulator, QObject *parent = nullptr);
    ~PtyTransport() override;

    bool open();
    QString errorString() const;
    QString slavePath() const;

private:
    void readMaster();
    bool writeMaster(const QByteArray &bytes);

    Simulator &m_simulator;
    int m_master = -1;
    // Held open by us so that the master side never sees a hang-up while the
    // program has the port closed (it would otherwise report readable forever).
    int m_slave = -1;
    QString m_slavePath;
    QString m_error;
    QSocketNotifier *m_notifier = nullptr;
    QTimer *m_retry = nullptr;
    StreamSession *m_session = nullptr;
};
