#include "matrixdevice.h"

#include <QRegularExpression>
#include <QStringList>

#include <functional>
#include <limits>

namespace {

// More digits than this cannot be a channel, scene or ID; they read as out of range.
constexpr int MaxDigits = 9;
constexpr int MaxOctet = 255;

int toNumber(const QString &digits)
{
    int first = 0;
    while (first < digits.size() - 1 && digits.at(first) == QLatin1Char('0'))
        ++first;
    if (digits.size() - first > MaxDigits)
        return std::numeric_limits<int>::max();
    return QStringView(digits).mid(first).toInt();
}

QRegularExpression pattern(const char *text)
{
    return QRegularExpression(QRegularExpression::anchoredPattern(QLatin1String(text)));
}

CommandOutcome outcome(CommandOutcome::Result result, const QString &action, const QString &detail)
{
    CommandOutcome o;
    o.result = result;
    o.action = action;
    o.detail = detail;
    return o;
}

CommandOutcome done(const QString &action, const QString &detail)
{
    return outcome(CommandOutcome::Result::Ok, action, detail);
}

CommandOutcome refused(const QString &action, const QString &detail)
{
    return outcome(CommandOutcome::Result::Invalid, action, detail);
}

// An explicit matrix ID must be ours; the unaddressed form is for every matrix.
CommandOutcome addressed(int ownId, const QString &idText, const QString &action,
                         const std::function<CommandOutcome()> &run)
{
    const int address = idText.isEmpty() ? -1 : toNumber(idText);
    CommandOutcome result;
    if (address >= 0 && address != ownId) {
        result = outcome(CommandOutcome::Result::Ignored, action,
                         QStringLiteral("for matrix %1; this is matrix %2").arg(address).arg(ownId));
    } else {
        result = run();
    }
    result.address = address;
    return result;
}

} // namespace

MatrixDevice::MatrixDevice(int id, int inputs, int outputs)
    : m_id(id)
    , m_inputs(qBound(1, inputs, MaxChannels))
    , m_outputs(qBound(1, outputs, MaxChannels))
    , m_routing(m_outputs)
    , m_edid(m_inputs, 0)
    , m_network(NetworkCard::factorySettings(NetworkCard::macForId(id)))
{
    for (int k = 0; k < m_outputs; ++k)
        m_routing[k] = k % m_inputs + 1;
}

CommandOutcome MatrixDevice::execute(const QByteArray &command)
{
    static const QRegularExpression routeRx = pattern("(?:([0-9]+)D)?([0-9]+)V([0-9]+(?:,[0-9]+)*)\\.");
    static const QRegularExpression toAllRx = pattern("(?:([0-9]+)D)?([0-9]+)TOALL\\.");
    static const QRegularExpression edidRx = pattern("(?:([0-9]+)D)?([0-9]+)E([0-9]+)\\.");
    static const QRegularExpression oneByOneRx = pattern("([0-9]*)TOONE\\.");
    static const QRegularExpression sceneRx = pattern("([0-9]*)(SAVE|CALL)([0-9]+)");
    static const QRegularExpression buzzerRx = pattern("([0-9]*)BUZ(ON|OFF)");
    static const QRegularExpression netSetRx = pattern("HWS([0-9]+(?:\\.[0-9]+){11})");

    const QString text = QString::fromLatin1(command);
    QRegularExpressionMatch m;

    if ((m = routeRx.match(text)).hasMatch()) {
        return addressed(m_id, m.captured(1), QStringLiteral("route"), [&] {
            return route(toNumber(m.captured(2)), m.captured(3).split(QLatin1Char(',')));
        });
    }
    if ((m = toAllRx.match(text)).hasMatch()) {
        return addressed(m_id, m.captured(1), QStringLiteral("route-all"),
                         [&] { return routeToAll(toNumber(m.captured(2))); });
    }
    if ((m = edidRx.match(text)).hasMatch()) {
        // The output comes first here, the reverse of a routing command.
        return addressed(m_id, m.captured(1), QStringLiteral("edid"), [&] {
            return writeEdid(toNumber(m.captured(2)), toNumber(m.captured(3)));
        });
    }
    if ((m = oneByOneRx.match(text)).hasMatch())
        return addressed(m_id, m.captured(1), QStringLiteral("one-by-one"), [&] { return oneByOne(); });
    if ((m = sceneRx.match(text)).hasMatch()) {
        const bool save = m.captured(2) == QLatin1String("SAVE");
        const int scene = toNumber(m.captured(3));
        CommandOutcome result = addressed(m_id, m.captured(1),
                                          save ? QStringLiteral("scene-save") : QStringLiteral("scene-call"),
                                          [&] { return save ? saveScene(scene) : callScene(scene); });
        result.scene = scene;
        return result;
    }
    if ((m = buzzerRx.match(text)).hasMatch()) {
        const bool on = m.captured(2) == QLatin1String("ON");
        return addressed(m_id, m.captured(1), QStringLiteral("buzzer"), [&] { return setBuzzer(on); });
    }
    if ((m = netSetRx.match(text)).hasMatch())
        return setNetSettings(m.captured(1).split(QLatin1Char('.')));
    if (text == QLatin1String("HWC"))
        return queryNetSettings();
    if (text == QLatin1String("HWR"))
        return resetNetSettings();
    return outcome(CommandOutcome::Result::Unknown, QString(), QStringLiteral("unknown command"));
}

int MatrixDevice::id() const
{
    return m_id;
}

int MatrixDevice::inputCount() const
{
    return m_inputs;
}

int MatrixDevice::outputCount() const
{
    return m_outputs;
}

const QVector<int> &MatrixDevice::routing() const
{
    return m_routing;
}

const QVector<int> &MatrixDevice::edid() const
{
    return m_edid;
}

bool MatrixDevice::buzzer() const
{
    return m_buzzer;
}

bool MatrixDevice::hasScene(int scene) const
{
    return scene >= 1 && scene <= SceneCount && !m_scenes[scene - 1].isEmpty();
}

QVector<int> MatrixDevice::scene(int scene) const
{
    return hasScene(scene) ? m_scenes[scene - 1] : QVector<int>();
}

const NetworkCard &MatrixDevice::network() const
{
    return m_network;
}

void MatrixDevice::setNetwork(const NetworkCard &card)
{
    m_network = card;
}

QByteArray MatrixDevice::netQueryReply() const
{
    auto reply = [this](const QString &mac) {
        return QStringLiteral("HNW%1,%2,%3,%4,%5")
            .arg(m_network.ip)
            .arg(m_network.port)
            .arg(m_network.subnet, m_network.gateway, mac)
            .toLatin1();
    };
    QByteArray text = reply(m_network.mac);
    // Long addresses would push the answer past what the program reads: the
    // MAC address loses its separators first, and only then its tail.
    if (text.size() > MaxReplyLength)
        text = reply(QString(m_network.mac).remove(QLatin1Char(':')));
    return text.left(MaxReplyLength);
}

CommandOutcome MatrixDevice::route(int input, const QStringList &outputs)
{
    const QString action = QStringLiteral("route");
    if (!isInput(input))
        return refused(action, QStringLiteral("input %1 is out of range 1..%2").arg(input).arg(m_inputs));
    QVector<int> targets;
    for (const QString &text : outputs) {
        const int output = toNumber(text);
        if (!isOutput(output))
            return refused(action, QStringLiteral("output %1 is out of range 1..%2").arg(output).arg(m_outputs));
        targets << output;
    }
    for (int output : qAsConst(targets))
        m_routing[output - 1] = input;
    const QString noun = targets.size() == 1 ? QStringLiteral("output") : QStringLiteral("outputs");
    return done(action, QStringLiteral("input %1 to %2 %3").arg(input).arg(noun, outputs.join(QLatin1Char(','))));
}

CommandOutcome MatrixDevice::routeToAll(int input)
{
    const QString action = QStringLiteral("route-all");
    if (!isInput(input))
        return refused(action, QStringLiteral("input %1 is out of range 1..%2").arg(input).arg(m_inputs));
    m_routing.fill(input);
    return done(action, QStringLiteral("input %1 to all %2 outputs").arg(input).arg(m_outputs));
}

CommandOutcome MatrixDevice::oneByOne()
{
    for (int k = 0; k < m_outputs; ++k)
        m_routing[k] = k % m_inputs + 1;
    return done(QStringLiteral("one-by-one"), QStringLiteral("every output n shows input n"));
}

CommandOutcome MatrixDevice::saveScene(int scene)
{
    const QString action = QStringLiteral("scene-save");
    if (scene < 1 || scene > SceneCount)
        return refused(action, QStringLiteral("scene %1 is out of range 1..%2").arg(scene).arg(SceneCount));
    m_scenes[scene - 1] = m_routing;
    return done(action, QStringLiteral("routing stored as scene %1").arg(scene));
}

CommandOutcome MatrixDevice::callScene(int scene)
{
    const QString action = QStringLiteral("scene-call");
    if (scene < 1 || scene > SceneCount)
        return refused(action, QStringLiteral("scene %1 is out of range 1..%2").arg(scene).arg(SceneCount));
    if (!hasScene(scene))
        return refused(action, QStringLiteral("scene %1 was never saved; routing unchanged").arg(scene));
    m_routing = m_scenes[scene - 1];
    return done(action, QStringLiteral("scene %1 recalled").arg(scene));
}

CommandOutcome MatrixDevice::setBuzzer(bool on)
{
    m_buzzer = on;
    return done(QStringLiteral("buzzer"), on ? QStringLiteral("buzzer on") : QStringLiteral("buzzer off"));
}

CommandOutcome MatrixDevice::writeEdid(int output, int input)
{
    const QString action = QStringLiteral("edid");
    if (!isOutput(output))
        return refused(action, QStringLiteral("output %1 is out of range 1..%2").arg(output).arg(m_outputs));
    if (!isInput(input))
        return refused(action, QStringLiteral("input %1 is out of range 1..%2").arg(input).arg(m_inputs));
    m_edid[input - 1] = output;
    return done(action, QStringLiteral("input %1 takes the EDID of output %2").arg(input).arg(output));
}

CommandOutcome MatrixDevice::setNetSettings(const QStringList &numbers)
{
    const QString action = QStringLiteral("net-set");
    QStringList octets;
    for (const QString &text : numbers) {
        const int value = toNumber(text);
        if (value > MaxOctet)
            return refused(action, QStringLiteral("%1 is not a number from 0 to %2").arg(text).arg(MaxOctet));
        octets << QString::number(value);
    }
    m_network.ip = octets.mid(0, 4).join(QLatin1Char('.'));
    m_network.subnet = octets.mid(4, 4).join(QLatin1Char('.'));
    m_network.gateway = octets.mid(8, 4).join(QLatin1Char('.'));
    return done(action, QStringLiteral("network card set to ip %1, subnet %2, gateway %3 "
                                       "(stored only; the simulator keeps its address)")
                            .arg(m_network.ip, m_network.subnet, m_network.gateway));
}

CommandOutcome MatrixDevice::queryNetSettings()
{
    CommandOutcome result = done(QStringLiteral("net-query"), QString());
    result.reply = netQueryReply();
    result.detail = QStringLiteral("answered ") + QString::fromLatin1(result.reply);
    return result;
}

CommandOutcome MatrixDevice::resetNetSettings()
{
    m_network = NetworkCard::factorySettings(m_network.mac);
    return done(QStringLiteral("net-reset"),
                QStringLiteral("network card reset to %1:%2 (stored only; the simulator keeps its address)")
                    .arg(m_network.ip)
                    .arg(m_network.port));
}

bool MatrixDevice::isInput(int n) const
{
    return n >= 1 && n <= m_inputs;
}

bool MatrixDevice::isOutput(int n) const
{
    return n >= 1 && n <= m_outputs;
}
