#include "videohubserver.h"

#include "devicelink.h"
#include "gatewaylog.h"

#include "config/aliasstore.h"
#include "config/routestate.h"
#include "link/matrixcommand.h"

#include <QCryptographicHash>
#include <QRegularExpression>
#include <QTcpSocket>

#include <numeric>

namespace {

const QString Service = QStringLiteral("videohub");
const QByteArray Ack = "ACK\n\n";
const QByteArray Nak = "NAK\n\n";

const QString DeviceHeader = QStringLiteral("VIDEOHUB DEVICE");
const QString InputLabels = QStringLiteral("INPUT LABELS");
const QString OutputLabels = QStringLiteral("OUTPUT LABELS");
const QString Locks = QStringLiteral("VIDEO OUTPUT LOCKS");
const QString Routing = QStringLiteral("VIDEO OUTPUT ROUTING");
const QString Configuration = QStringLiteral("CONFIGURATION");
const QString Preamble = QStringLiteral("PROTOCOL PREAMBLE");
const QString EndPrelude = QStringLiteral("END PRELUDE");
const QString Ping = QStringLiteral("PING");

// Blocks of features this router lacks: asked for, they come back empty.
const QStringList AbsentBlocks {
    QStringLiteral("MONITORING OUTPUT LABELS"), QStringLiteral("VIDEO MONITORING OUTPUT ROUTING"),
    QStringLiteral("MONITORING OUTPUT LOCKS"),  QStringLiteral("SERIAL PORT LABELS"),
    QStringLiteral("SERIAL PORT ROUTING"),      QStringLiteral("SERIAL PORT LOCKS"),
    QStringLiteral("SERIAL PORT DIRECTIONS"),   QStringLiteral("PROCESSING UNIT ROUTING"),
    QStringLiteral("PROCESSING UNIT LOCKS"),    QStringLiteral("FRAME LABELS"),
    QStringLiteral("FRAME BUFFER ROUTING"),     QStringLiteral("FRAME BUFFER LOCKS"),
};
// Status a client may send; it changes nothing here.
const QStringList StatusBlocks { QStringLiteral("VIDEO INPUT STATUS"), QStringLiteral("VIDEO OUTPUT STATUS"),
                                 QStringLiteral("SERIAL PORT STATUS"), QStringLiteral("ALARM STATUS") };

QByteArray block(const QString &header, const QStringList &lines)
{
    QByteArray out = header.toUtf8() + ":\n";
    for (const QString &line : lines)
        out += line.toUtf8() + '\n';
    return out + '\n';
}

// "<index> <value>", the index below count; false for anything else.
const QRegularExpression Digits(QStringLiteral("^\\d{1,6}$"));

bool indexed(const QString &line, int count, int *index, QString *value)
{
    static const QRegularExpression pattern(QStringLiteral("^(\\d{1,6})(?: (.*))?$"));
    const QRegularExpressionMatch match = pattern.match(line);
    if (!match.hasMatch())
        return false;
    *index = match.captured(1).toInt();
    *value = match.captured(2);
    return *index < count;
}

} // namespace

VideohubServer::VideohubServer(RouteState &routes, AliasStore &aliases, DeviceLink &link, GatewayLog &log,
                               const ClientGate &gate, const QString &name, QObject *parent)
    : QObject(parent)
    , m_routes(routes)
    , m_aliases(aliases)
    , m_link(link)
    , m_log(log)
    , m_gate(gate)
    , m_name(name)
    , m_present(link.isUp())
    , m_inputs(routes.inputs())
    , m_outputs(routes.outputs())
    , m_locks(m_outputs)
{
    // Stable for one matrix behind one gateway, so that clients keep their settings for it.
    const QByteArray seed = "matrix-gateway " + link.where().toUtf8();
    m_uniqueId = QString::fromLatin1(QCryptographicHash::hash(seed, QCryptographicHash::Sha1).toHex().left(12)).toUpper();
    connect(&m_server, &QTcpServer::newConnection, this, &VideohubServer::onNewConnection);
    connect(&m_link, &DeviceLink::upChanged, this, &VideohubServer::onLinkChanged);
}

bool VideohubServer::listen(const QHostAddress &address, quint16 port)
{
    return m_server.listen(address, port);
}

void VideohubServer::noteRoutes(int input, const QVector<int> &outputs)
{
    QVector<int> before;
    for (int output : outputs)
        before << shownInput(output - 1);
    if (!m_routes.setRoutes(input, outputs))
        return;
    QVector<int> changed;
    for (int k = 0; k < outputs.size(); ++k) {
        if (shownInput(outputs.at(k) - 1) != before.at(k))
            changed << outputs.at(k) - 1;
    }
    if (!changed.isEmpty())
        broadcast(routingBlock(changed));
}

void VideohubServer::onNewConnection()
{
    while (QTcpSocket *socket = m_server.nextPendingConnection()) {
        if (!m_gate.admit(socket, m_clients.size(), m_log, Service))
            continue;
        const QString peer = ClientGate::peer(*socket);
        Client &client = m_clients[socket];
        client.address = ClientGate::address(*socket).toString();
        client.peer = peer;
        connect(socket, &QTcpSocket::readyRead, this, [this, socket] { onReadyRead(socket); });
        connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
            if (m_clients.remove(socket) > 0)
                m_log.client(Service, ClientGate::peer(*socket), false);
            socket->deleteLater();
        });
        // The whole dump before anything the client sends is read.
        write(socket, dump(client.address, true));
        if (socket->bytesAvailable() > 0)
            onReadyRead(socket);
    }
}

void VideohubServer::onReadyRead(QTcpSocket *socket)
{
    auto found = m_clients.find(socket);
    if (found == m_clients.end())
        return;
    const QList<Block> blocks = found->parser.feed(socket->readAll());
    if (found->parser.error() != VideohubParser::Error::None) {
        drop(socket, found->parser.errorText());
        return;
    }
    for (const Block &block : blocks) {
        if (!m_clients.contains(socket))
            return;
        handle(socket, block);
    }
}

void VideohubServer::onLinkChanged()
{
    if (m_link.isUp() == m_present)
        return;
    m_present = m_link.isUp();
    if (!m_present) {
        broadcast(deviceBlock());
        return;
    }
    for (auto it = m_clients.begin(); it != m_clients.end(); ++it)
        write(it.key(), dump(it->address, false));
}

void VideohubServer::drop(QTcpSocket *socket, const QString &reason)
{
    auto found = m_clients.find(socket);
    if (found == m_clients.end())
        return;
    const QString peer = found->peer;
    m_clients.erase(found);
    ClientGate::drop(socket, peer, m_log, Service, reason);
}

void VideohubServer::handle(QTcpSocket *socket, const Block &block)
{
    const QString &header = block.header;
    const QStringList &lines = block.lines;
    const QString address = m_clients.value(socket).address;
    if (header == Ping) {
        reply(socket, lines.isEmpty());
        return;
    }
    if (lines.isEmpty()) {
        const QByteArray answer = queryAnswer(header, address);
        if (!answer.isEmpty())
            m_pending.append({ socket, answer });
        reply(socket, !answer.isEmpty());
        return;
    }
    bool ok = false;
    if (header == Routing)
        ok = routeRequest(socket, lines);
    else if (header == InputLabels || header == OutputLabels)
        ok = labelRequest(socket, header == InputLabels, lines);
    else if (header == Locks)
        ok = lockRequest(socket, lines);
    else if (header == DeviceHeader)
        ok = deviceRequest(lines);
    else if (header == Configuration)
        ok = configurationRequest(lines);
    else
        ok = StatusBlocks.contains(header);
    reply(socket, ok);
}

bool VideohubServer::routeRequest(QTcpSocket *socket, const QStringList &lines)
{
    const QString address = m_clients.value(socket).address;
    QVector<int> wanted(m_outputs, -1);
    QVector<int> inputOrder;
    bool refused = false;
    for (const QString &line : lines) {
        int output = 0;
        int in = 0;
        QString value;
        if (!indexed(line.trimmed(), m_outputs, &output, &value) || !Digits.match(value).hasMatch())
            return false;
        in = value.toInt();
        if (in >= m_inputs)
            return false;
        if (!m_locks.at(output).isEmpty() && m_locks.at(output) != address) {
            refused = true;
            continue;
        }
        wanted[output] = in;
    }
    if (!m_link.isUp())
        return false;
    for (int output = 0; output < m_outputs; ++output) {
        if (wanted.at(output) >= 0 && !inputOrder.contains(wanted.at(output)))
            inputOrder << wanted.at(output);
    }
    if (inputOrder.isEmpty())
        return !refused;
    const QVector<int> before = [this] {
        QVector<int> shown;
        for (int output = 0; output < m_outputs; ++output)
            shown << shownInput(output);
        return shown;
    }();
    // One command per input, with all of its outputs, as the window's Switch sends it.
    const matrixcommand command;
    bool sentAny = false;
    for (int in : qAsConst(inputOrder)) {
        QStringList outputs;
        QVector<int> numbers;
        for (int output = 0; output < m_outputs; ++output) {
            if (wanted.at(output) == in) {
                outputs << QString::number(output + 1);
                numbers << output + 1;
            }
        }
        const QString text = matrixcommand::wireText(command.makeSwitchMulti(in + 1, outputs));
        if (!m_link.enqueue(text.toLocal8Bit(), m_clients.value(socket).peer)) {
            for (int output : qAsConst(numbers))
                wanted[output - 1] = -1;
            continue;
        }
        sentAny = true;
        m_routes.setRoutes(in + 1, numbers);
    }
    if (!sentAny)
        return false;
    QVector<int> changed;
    QVector<int> same;
    for (int output = 0; output < m_outputs; ++output) {
        if (wanted.at(output) >= 0)
            (shownInput(output) != before.at(output) ? changed : same) << output;
    }
    if (!changed.isEmpty())
        m_pending.append({ nullptr, routingBlock(changed) });
    if (!same.isEmpty())
        m_pending.append({ socket, routingBlock(same) });
    return true;
}

bool VideohubServer::labelRequest(QTcpSocket *socket, bool inputs, const QStringList &lines)
{
    const int count = inputs ? m_inputs : m_outputs;
    QVector<QPair<int, QString>> labels;
    for (const QString &line : lines) {
        int index = 0;
        QString text;
        if (!indexed(line, count, &index, &text))
            return false;
        // Trailing blanks are no part of a name; a bare index clears it.
        while (!text.isEmpty() && text.back().isSpace())
            text.chop(1);
        if (text.size() > MaxLabelLength)
            return false;
        labels.append({ index, text });
    }
    QVector<int> changed;
    QVector<int> same;
    for (const auto &label : qAsConst(labels)) {
        const QString old = inputs ? m_aliases.inputAlias(label.first) : m_aliases.outputAlias(label.first);
        if (old == label.second) {
            same << label.first;
            continue;
        }
        if (inputs)
            m_aliases.setInputAlias(label.first, label.second);
        else
            m_aliases.setOutputAlias(label.first, label.second);
        changed << label.first;
    }
    if (!changed.isEmpty())
        m_pending.append({ nullptr, labelBlock(inputs, changed) });
    if (!same.isEmpty())
        m_pending.append({ socket, labelBlock(inputs, same) });
    return true;
}

bool VideohubServer::lockRequest(QTcpSocket *socket, const QStringList &lines)
{
    const QString address = m_clients.value(socket).address;
    QVector<QPair<int, QChar>> requests;
    for (const QString &line : lines) {
        int index = 0;
        QString letter;
        if (!indexed(line.trimmed(), m_outputs, &index, &letter) || letter.size() != 1
            || !QStringLiteral("OUF").contains(letter.at(0).toUpper()))
            return false;
        requests.append({ index, letter.at(0).toUpper() });
    }
    QVector<int> changed;
    QVector<int> same;
    for (const auto &request : qAsConst(requests)) {
        QString &owner = m_locks[request.first];
        const bool mine = owner.isEmpty() || owner == address;
        QString next = owner;
        if (request.second == QLatin1Char('F') || (request.second == QLatin1Char('U') && mine))
            next.clear();
        else if (request.second == QLatin1Char('O') && mine)
            next = address;
        if (next == owner) {
            same << request.first;
            continue;
        }
        owner = next;
        changed << request.first;
    }
    if (!same.isEmpty())
        m_pending.append({ socket, lockBlock(address, same) });
    if (!changed.isEmpty()) {
        for (auto it = m_clients.cbegin(); it != m_clients.cend(); ++it)
            m_pending.append({ it.key(), lockBlock(it->address, changed) });
    }
    return true;
}

bool VideohubServer::deviceRequest(const QStringList &lines)
{
    static const QString Key = QStringLiteral("Friendly name:");
    QString name = m_name;
    for (const QString &line : lines) {
        if (!line.startsWith(Key, Qt::CaseInsensitive))
            return false;
        name = line.mid(Key.size()).trimmed();
        if (name.size() > MaxLabelLength)
            return false;
    }
    m_name = name;
    m_pending.append({ nullptr, deviceBlock() });
    return true;
}

bool VideohubServer::configurationRequest(const QStringList &lines)
{
    static const QRegularExpression takeMode(QStringLiteral("^Take Mode: (true|false)\\s*$"),
                                             QRegularExpression::CaseInsensitiveOption);
    bool mode = m_takeMode;
    for (const QString &line : lines) {
        const QRegularExpressionMatch match = takeMode.match(line);
        if (!match.hasMatch())
            return false;
        mode = match.captured(1).compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
    }
    m_takeMode = mode;
    m_pending.append({ nullptr, configurationBlock() });
    return true;
}

// ACK and the updates go as separate writes, each flushed (write()): some
// clients stop reading a chunk at the line that starts with ACK.
void VideohubServer::reply(QTcpSocket *socket, bool ok)
{
    const auto pending = m_pending;
    m_pending.clear();
    write(socket, ok ? Ack : Nak);
    if (!ok)
        return;
    for (const auto &update : pending) {
        if (update.first)
            write(update.first, update.second);
        else
            broadcast(update.second);
    }
}

QByteArray VideohubServer::dump(const QString &address, bool withPreamble) const
{
    QByteArray out;
    if (withPreamble)
        out += block(Preamble, { QStringLiteral("Version: 2.8") });
    out += deviceBlock();
    if (!m_present)
        return out;
    return out + labelBlock(true, all(m_inputs)) + labelBlock(false, all(m_outputs))
        + lockBlock(address, all(m_outputs)) + routingBlock(all(m_outputs)) + configurationBlock()
        + block(EndPrelude, {});
}

QByteArray VideohubServer::deviceBlock() const
{
    if (!m_present)
        return block(DeviceHeader, { QStringLiteral("Device present: false") });
    return block(DeviceHeader, { QStringLiteral("Device present: true"),
                                 QStringLiteral("Model name: Matrix Gateway %1x%2").arg(m_inputs).arg(m_outputs),
                                 QStringLiteral("Friendly name: ") + m_name,
                                 QStringLiteral("Unique ID: ") + m_uniqueId,
                                 QStringLiteral("Video inputs: %1").arg(m_inputs),
                                 QStringLiteral("Video processing units: 0"),
                                 QStringLiteral("Video outputs: %1").arg(m_outputs),
                                 QStringLiteral("Video monitoring outputs: 0"),
                                 QStringLiteral("Serial ports: 0") });
}

QByteArray VideohubServer::labelBlock(bool inputs, const QVector<int> &indexes) const
{
    QStringList lines;
    for (int index : indexes) {
        // A name never carries a line end onto the wire.
        QString name = inputs ? m_aliases.inputAlias(index) : m_aliases.outputAlias(index);
        name.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
        lines << QStringLiteral("%1 %2").arg(index).arg(name);
    }
    return block(inputs ? InputLabels : OutputLabels, lines);
}

QByteArray VideohubServer::lockBlock(const QString &address, const QVector<int> &indexes) const
{
    QStringList lines;
    for (int index : indexes) {
        const QString &owner = m_locks.at(index);
        const QChar letter = owner.isEmpty() ? QLatin1Char('U') : owner == address ? QLatin1Char('O') : QLatin1Char('L');
        lines << QStringLiteral("%1 %2").arg(index).arg(letter);
    }
    return block(Locks, lines);
}

QByteArray VideohubServer::routingBlock(const QVector<int> &outputs) const
{
    QStringList lines;
    for (int output : outputs)
        lines << QStringLiteral("%1 %2").arg(output).arg(shownInput(output));
    return block(Routing, lines);
}

QByteArray VideohubServer::configurationBlock() const
{
    return block(Configuration, { QStringLiteral("Take Mode: ") + (m_takeMode ? QStringLiteral("true")
                                                                                : QStringLiteral("false")) });
}

QByteArray VideohubServer::queryAnswer(const QString &header, const QString &address) const
{
    if (header == DeviceHeader)
        return deviceBlock();
    if (header == InputLabels || header == OutputLabels)
        return labelBlock(header == InputLabels, all(header == InputLabels ? m_inputs : m_outputs));
    if (header == Locks)
        return lockBlock(address, all(m_outputs));
    if (header == Routing)
        return routingBlock(all(m_outputs));
    if (header == Configuration)
        return configurationBlock();
    if (header == Preamble)
        return block(Preamble, { QStringLiteral("Version: 2.8") });
    if (AbsentBlocks.contains(header) || StatusBlocks.contains(header))
        return block(header, {});
    return QByteArray();
}

// The protocol has no "unknown": an output never routed shows input n on output n.
int VideohubServer::shownInput(int output) const
{
    const int input = m_routes.inputOf(output + 1);
    return input > 0 ? input - 1 : output % m_inputs;
}

QVector<int> VideohubServer::all(int count) const
{
    QVector<int> indexes(count);
    std::iota(indexes.begin(), indexes.end(), 0);
    return indexes;
}

void VideohubServer::write(QTcpSocket *socket, const QByteArray &bytes)
{
    if (!m_clients.contains(socket))
        return;
    if (socket->bytesToWrite() + bytes.size() > MaxUnsentBytes) {
        drop(socket, QStringLiteral("not reading what it is sent"));
        return;
    }
    socket->write(bytes);
    // Each client gets its update at once rather than one per event loop turn.
    socket->flush();
}

void VideohubServer::broadcast(const QByteArray &bytes)
{
    const QList<QTcpSocket *> sockets = m_clients.keys();
    for (QTcpSocket *socket : sockets)
        write(socket, bytes);
}
