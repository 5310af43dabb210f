#include "videohubparser.h"

#include <QRegularExpression>

namespace {

constexpr unsigned char Iac = 0xFF;
constexpr unsigned char SubBegin = 0xFA;
constexpr unsigned char SubEnd = 0xF0;
constexpr unsigned char FirstOption = 0xFB; // WILL, WONT, DO, DONT: one option byte follows
constexpr unsigned char LastShortCommand = 0xF9;

bool isHeader(const QString &line)
{
    static const QRegularExpression header(QStringLiteral("^[A-Za-z]+( [A-Za-z]+)*:$"));
    return header.match(line).hasMatch();
}

// Text that is valid UTF-8 and holds no control character but a tab.
bool isText(const QByteArray &line)
{
    for (char c : line) {
        const auto byte = static_cast<unsigned char>(c);
        if ((byte < 0x20 && c != '\t') || byte == 0x7F)
            return false;
    }
    return QString::fromUtf8(line).toUtf8() == line;
}

} // namespace

QList<VideohubParser::Block> VideohubParser::feed(const QByteArray &bytes)
{
    QList<Block> blocks;
    for (char c : bytes) {
        if (m_error != Error::None)
            return {};
        const auto byte = static_cast<unsigned char>(c);
        switch (m_telnet) {
        case Telnet::Command:
            if (byte == SubBegin)
                m_telnet = Telnet::Sub;
            else if (byte >= FirstOption && byte != Iac)
                m_telnet = Telnet::Option;
            else if (byte >= SubEnd && byte <= LastShortCommand)
                m_telnet = Telnet::None;
            else
                fail(Error::NotProtocol);
            continue;
        case Telnet::Option:
            m_telnet = Telnet::None;
            continue;
        case Telnet::Sub:
            if (byte == Iac)
                m_telnet = Telnet::SubEnd;
            continue;
        case Telnet::SubEnd:
            m_telnet = byte == SubEnd ? Telnet::None : Telnet::Sub;
            continue;
        case Telnet::None:
            break;
        }
        const bool afterCr = m_afterCr;
        m_afterCr = c == '\r';
        if (byte == Iac) {
            m_telnet = Telnet::Command;
        } else if (c == '\r' || (c == '\n' && !afterCr)) {
            endLine(blocks);
        } else if (c != '\n' && c != '\0') {
            if (m_line.size() >= MaxLineBytes)
                fail(Error::LineTooLong);
            m_line += c;
        }
    }
    return m_error == Error::None ? blocks : QList<Block>();
}

QString VideohubParser::errorText() const
{
    switch (m_error) {
    case Error::LineTooLong:
        return QStringLiteral("a line longer than %1 bytes").arg(MaxLineBytes);
    case Error::BlockTooLarge:
        return QStringLiteral("a block of more than %1 lines").arg(MaxBlockLines);
    case Error::NotProtocol:
        return QStringLiteral("bytes that are no Videohub protocol");
    case Error::None:
        break;
    }
    return QString();
}

void VideohubParser::endLine(QList<Block> &blocks)
{
    const QByteArray raw = m_line;
    m_line.clear();
    if (!isText(raw)) {
        fail(Error::NotProtocol);
        return;
    }
    const QString line = QString::fromUtf8(raw);
    const QString trimmed = line.trimmed();
    if (!m_inBlock) {
        if (trimmed.isEmpty())
            return;
        if (!isHeader(trimmed)) {
            fail(Error::NotProtocol);
            return;
        }
        m_block = Block { trimmed.chopped(1).toUpper(), {} };
        m_inBlock = true;
        return;
    }
    if (trimmed.isEmpty()) {
        blocks << m_block;
        m_block = Block();
        m_inBlock = false;
        return;
    }
    if (m_block.lines.size() >= MaxBlockLines) {
        fail(Error::BlockTooLarge);
        return;
    }
    int first = 0;
    while (first < line.size() && line.at(first).isSpace())
        ++first;
    m_block.lines << line.mid(first);
}

bool VideohubParser::fail(Error error)
{
    m_error = error;
    m_line.clear();
    m_block = Block();
    return false;
}
