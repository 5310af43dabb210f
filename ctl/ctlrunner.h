#pragma once

#include "ctloptions.h"
#include "ctloutput.h"

#include <QByteArray>
#include <QList>
#include <QObject>

#include <functional>

class protocoladapter;

// Carries out the checked commands through the window's own link: opens the
// link, sends, reads the one answer there is, and says how it went. A command
// counts as sent only once the link has passed on all of its bytes.
class CtlRunner : public QObject
{
    Q_OBJECT

public:
    explicit CtlRunner(const CtlOptions &options, QObject *parent = nullptr);

    // An ExitStatus.
    int run();

private:
    bool openLink(protocoladapter &adapter);
    int listDevices() const;
    int runCommand(protocoladapter &adapter, const CtlCommand &command);
    // Sends one command; false, with a message naming it, when it did not go out whole.
    bool sendStep(protocoladapter &adapter, const CtlCommand &command, const QString &words,
                  const std::function<void()> &send);
    int askNetwork(protocoladapter &adapter, const CtlCommand &command);
    void printTaken();
    QString where(const CtlCommand &command) const;

    const CtlOptions &m_options;
    const CtlOutput m_output;
    // The first failure the link reported since the command began.
    QString m_failure;
    // What the link took for the command so far, as it went to the wire.
    QList<QByteArray> m_taken;
};
