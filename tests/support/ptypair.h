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

    bool isValid() const;
    QString slavePath() const;

    // Collects what the program wrote until at least count bytes arrived or
    // timeoutMs passed; the event loop keeps running meanwhile.
    QByteArray readAtLeast(int count, int timeoutMs = 3000);
    // Blocks without an event loop until bytes arrive or timeoutMs passes and
    // returns them; another thread may wait here while nothing else reads.
    QByteArray waitAndRead(int timeoutMs);
    void write(const QByteArray &bytes);
    // Closes the master side, as a device that goes away.
    void closeMaster();

private:
    QByteArray readAvailable();

    int m_master = -1;
    int m_slave = -1;
    QString m_slavePath;
};
