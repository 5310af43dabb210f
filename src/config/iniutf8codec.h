#pragma once

#include <QtGlobal>

#if QT_VERSION < QT_VERSION_CHECK(6, 0, 0)
#include <QTextCodec>

// UTF-8 for the Qt 5 INI writer, which hands its codec one UTF-16 unit at a
// time: Qt's own UTF-8 codec drops both halves of a character beyond the Basic
// Multilingual Plane (emoji, rare CJK) that way. This one holds a first half
// back until the second comes, so the Qt 5 build writes the bytes Qt 6 writes.
class IniUtf8Codec : public QTextCodec
{
public:
    // Made once; Qt owns every codec and deletes it at exit.
    static QTextCodec *instance();

    QByteArray name() const override;
    int mibEnum() const override;

protected:
    QString convertToUnicode(const char *in, int length, ConverterState *state) const override;
    QByteArray convertFromUnicode(const QChar *in, int length, ConverterState *state) const override;

private:
    IniUtf8Codec() = default;

    mutable QChar m_firstHalf;
};
#endif
