#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

// Cuts what one Videohub client sends into blocks: a header line, body lines
// and an empty line. Accepts LF, CRLF and a lone CR, drops NUL bytes and
// Telnet negotiation, and ignores empty lines between blocks. Pure and
// bounded: a line or a block beyond its limit, or bytes that are no protocol,
// end the parse for good (the owner drops that client).
class VideohubParser
{
public:
    struct Block
    {
        // Upper case, without the colon: "VIDEO OUTPUT ROUTING".
        QString header;
        // Without leading blanks; trailing ones are the reader's to judge.
        QStringList lines;
    };

    enum class Error { None, LineTooLong, BlockTooLarge, NotProtocol };

    static constexpr int MaxLineBytes = 4096;
    static constexpr int MaxBlockLines = 1024;

    // The blocks completed by these bytes; none once an error has been met.
    QList<Block> feed(const QByteArray &bytes);
    Error error() const { return m_error; }
    QString errorText() const;

private:
    void endLine(QList<Block> &blocks);
    bool fail(Error error);

    enum class Telnet { None, Command, Option, Sub, SubEnd };

    QByteArray m_line;
    Block m_block;
    bool m_inBlock = false;
    bool m_afterCr = false;
    Telnet m_telnet = Telnet::None;
    Error m_error = Error::None;
};
