#pragma once

#include <QList>
#include <QString>
#include <QStringList>

class CtlNames;

// The command words of one matrixctl call, read and checked whole before any
// link opens, so that a faulty call sends nothing at all.
class CtlCommand
{
public:
    enum class Kind {
        Switch, All, OneByOne, SceneSave, SceneCall, BuzzerOn, BuzzerOff, Edid,
        NetGet, NetSet, NetReset, Raw, Devices
    };

    // words: what follows the options; hex: raw's words are hex bytes; names:
    // the limits and names that channels and scenes are checked against.
    // False, with errorText(), when they are no command this program sends.
    bool parse(const QStringList &words, bool hex, CtlNames &names);
    QString errorText() const;
    bool needsLink() const;

    Kind kind = Kind::Devices;
    // switch, all: the input; edid: the output; scene: the scene.
    int number = 0;
    // switch: the outputs; edid: the inputs; ascending and each once, as the
    // window lists the ticked channels.
    QList<int> channels;
    // net set: address, mask and gateway.
    QStringList texts;
    // raw: exactly the bytes to send, any value from 00 to FF.
    QByteArray bytes;
    // The command as given, for messages; line: its line on standard input, or 0.
    QString words;
    int line = 0;

private:
    bool parseWords(const QString &verb, const QStringList &args, bool hex, CtlNames &names);
    bool expect(const QStringList &args, int count, const char *form);
    bool readChannel(const QString &word, bool input, CtlNames &names, int *channel);
    bool readChannels(const QString &word, bool input, CtlNames &names);
    bool readScene(const QStringList &args, Kind kind, CtlNames &names);
    bool readNet(const QStringList &args);
    bool readRaw(const QStringList &args, bool hex);
    bool fail(const QString &text);

    QString m_error;
};
