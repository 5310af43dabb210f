#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QString>

class QHostAddress;
class MatrixDevice;
struct CommandOutcome;

// Writes what the simulator does to stdout, one line per event, flushed at
// once: readable text by default, or JSON objects for the tests.
class EventLog
{
public:
    explicit EventLog(bool json);

    void listening(const QHostAddress &address, quint16 port);
    void pty(const QString &path);
    void ready(const MatrixDevice &device);
    void client(const QString &source, bool connected, const QString &peer);
    // size is the number of stream bytes the command stood for (more than
    // text.size() when an over-long run was discarded).
    void command(const QString &source, const QByteArray &text, qint64 size, const CommandOutcome &outcome,
                 const MatrixDevice &device);
    void reply(const QString &source, const QByteArray &bytes, bool sent);
    void error(const QString &message);

    // Text with every byte outside printable ASCII written as \xNN.
    static QString printable(const QByteArray &bytes);

private:
    void write(const QJsonObject &event, const QString &text);

    bool m_json;
};
