#pragma once

#include "ctloptions.h"
#include "ctloutput.h"

#include <QObject>

class protocoladapter;

// Carries out one checked command line through the window's own link: opens
// the link, sends, reads the one answer there is, and says how it went.
class CtlRunner : public QObject
{
    Q_OBJECT

public:
    explicit CtlRunner(const CtlOptions &options, QObject *parent = nullptr);

    // An ExitStatus.
    int run();

private:
    int listDevices() const;
    int send(protocoladapter &adapter) const;
    int askNetwork(protocoladapter &adapter) const;

    const CtlOptions &m_options;
    const CtlOutput m_output;
};
