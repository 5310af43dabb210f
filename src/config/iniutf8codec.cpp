#include "config/iniutf8codec.h"

#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)

QTextCodec *IniUtf8Codec::instance()
{
    static IniUtf8Codec *const codec = new IniUtf8Codec;
    return codec;
}

QByteArray IniUtf8Codec::name() const
{
    return QByteArrayLiteral("X-MatrixController-INI-UTF-8");
}

// Among the numbers no registered character set uses.
int IniUtf8Codec::mibEnum() const
{
    return 3000106;
}

QString IniUtf8Codec::convertToUnicode(const char *in, int length, ConverterState *state) const
{
    return QTextCodec::codecForMib(106)->toUnicode(in, length, state);
}

QByteArray IniUtf8Codec::convertFromUnicode(const QChar *in, int length, ConverterState *) const
{
    QString text;
    // A first half not followed by its second is no character: it is dropped, as Qt 6 drops it.
    if (!m_firstHalf.isNull() && length > 0 && in[0].isLowSurrogate())
        text += m_firstHalf;
    m_firstHalf = QChar();
    text.append(in, length);
    if (!text.isEmpty() && text.at(text.size() - 1).isHighSurrogate()) {
        m_firstHalf = text.at(text.size() - 1);
        text.chop(1);
    }
    return text.toUtf8();
}

#endif
