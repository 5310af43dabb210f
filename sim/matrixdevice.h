#pragma once

#include "commandoutcome.h"
#include "networkcard.h"

#include <QByteArray>
#include <QVector>

#include <array>

// The matrix switcher as the simulator plays it: routing, scenes, buzzer, EDID
// assignments and the network card, changed by one command text at a time.
// Pure: no I/O and no timers, so that it can be driven directly by tests.
class MatrixDevice
{
public:
    static constexpr int SceneCount = 16;
    static constexpr int MaxChannels = 256;
    // The program reads at most this many bytes of the network card's answer.
    static constexpr int MaxReplyLength = 67;

    MatrixDevice(int id = 1, int inputs = 16, int outputs = 16);

    // Carries out one framed command (no terminator stripping needed).
    CommandOutcome execute(const QByteArray &command);

    int id() const;
    int inputCount() const;
    int outputCount() const;
    // Index k is output k+1; the value is the input (1-based) it shows.
    const QVector<int> &routing() const;
    // Index k is input k+1; the value is the output whose EDID it took, 0 for its own.
    const QVector<int> &edid() const;
    bool buzzer() const;
    bool hasScene(int scene) const;
    // The routing stored in a scene (1-based), empty when it was never saved.
    QVector<int> scene(int scene) const;
    const NetworkCard &network() const;
    void setNetwork(const NetworkCard &card);
    // "HNW" + ip,port,subnet,gateway,mac, never longer than MaxReplyLength.
    QByteArray netQueryReply() const;

private:
    CommandOutcome route(int input, const QStringList &outputs);
    CommandOutcome routeToAll(int input);
    CommandOutcome oneByOne();
    CommandOutcome saveScene(int scene);
    CommandOutcome callScene(int scene);
    CommandOutcome setBuzzer(bool on);
    CommandOutcome writeEdid(int output, int input);
    CommandOutcome setNetSettings(const QStringList &numbers);
    CommandOutcome queryNetSettings();
    CommandOutcome resetNetSettings();

    bool isInput(int n) const;
    bool isOutput(int n) const;

    int m_id;
    int m_inputs;
    int m_outputs;
    QVector<int> m_routing;
    QVector<int> m_edid;
    std::array<QVector<int>, SceneCount> m_scenes;
    bool m_buzzer = true;
    NetworkCard m_network;
};
