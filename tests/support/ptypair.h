#pragma once

#include <QByteArray>
#include <QString>

// A real pseudo-terminal pair in raw mode: the program opens slavePath() as its
// serial port, the test reads and writes the master side as the device would.
class PtyPair
{
public:
    PtyPair();
    ~PtyPair();

    bool isValid() const { return m_master >= 0; }
    QString slavePath() const { return m_slavePath; }

    // What the program wrote, once count bytes arrived or timeoutMs passed; runs the event loop.
    QByteArray readAtLeast(int count, int timeoutMs = 3000);
    // Blocks without an event loop until bytes arrive or timeoutMs passes (for a peer's own thread).
    QByteArray waitAndRead(int timeoutMs);
    void write(const QByteArray &bytes);
    // Closes the master side, as a device that goes away.
    void closeMaster();

private:
    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
