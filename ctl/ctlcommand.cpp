#include "ctlcommand.h"

#include "link/argcheck.h"

#include "config/scenestore.h"
#include "config/settings.h"
#include "link/hextext.h"

#include <algorithm>

bool CtlCommand::parse(const QStringList &words, bool hex)
{
    if (words.isEmpty())
        return fail(QStringLiteral("no command given"));
    const QString verb = words.constFirst();
    const QStringList args = words.mid(1);
    if (hex && verb != QLatin1String("raw"))
        return fail(QStringLiteral("--hex goes with raw only"));
    return parseWords(verb, args, hex);
}

QString CtlCommand::errorText() const
{
    return m_error;
}

bool CtlCommand::needsLink() const
{
    return kind != Kind::Devices;
}

bool CtlCommand::parseWords(const QString &verb, const QStringList &args, bool hex)
{
    if (verb == QLatin1String("switch")) {
        kind = Kind::Switch;
        return expect(args, 2, "switch IN OUT[,OUT...]") && readChannel(args.at(0), "input", &number)
            && readChannels(args.at(1), "output");
    }
    if (verb == QLatin1String("all")) {
        kind = Kind::All;
        return expect(args, 1, "all IN") && readChannel(args.at(0), "input", &number);
    }
    if (verb == QLatin1String("onebyone")) {
        kind = Kind::OneByOne;
        return expect(args, 0, "onebyone");
    }
    if (verb == QLatin1String("scene")) {
        if (!expect(args, 2, "scene save|call N"))
            return false;
        if (args.at(0) == QLatin1String("save"))
            return readScene(args, Kind::SceneSave);
        if (args.at(0) == QLatin1String("call"))
            return readScene(args, Kind::SceneCall);
        return fail(QStringLiteral("scene takes save or call, not \"%1\"").arg(args.at(0)));
    }
    if (verb == QLatin1String("buzzer")) {
        if (!expect(args, 1, "buzzer on|off"))
            return false;
        if (args.at(0) != QLatin1String("on") && args.at(0) != QLatin1String("off"))
            return fail(QStringLiteral("buzzer takes on or off, not \"%1\"").arg(args.at(0)));
        kind = args.at(0) == QLatin1String("on") ? Kind::BuzzerOn : Kind::BuzzerOff;
        return true;
    }
    if (verb == QLatin1String("edid")) {
        kind = Kind::Edid;
        return expect(args, 2, "edid IN[,IN...] OUT") && readChannels(args.at(0), "input")
            && readChannel(args.at(1), "output", &number);
    }
    if (verb == QLatin1String("net"))
        return readNet(args);
    if (verb == QLatin1String("raw"))
        return readRaw(args, hex);
    if (verb == QLatin1String("devices")) {
        kind = Kind::Devices;
        return expect(args, 0, "devices");
    }
    return fail(QStringLiteral("unknown command \"%1\"").arg(verb));
}

bool CtlCommand::expect(const QStringList &args, int count, const char *form)
{
    if (args.size() == count)
        return true;
    return fail(QStringLiteral("the command is: %1").arg(QLatin1String(form)));
}

bool CtlCommand::readChannel(const QString &word, const char *side, int *channel)
{
    if (ArgCheck::number(word, 1, Settings::MaxChannels, channel))
        return true;
    return fail(QStringLiteral("%1 \"%2\" is not a channel from 1 to %3")
                    .arg(QLatin1String(side), word)
                    .arg(Settings::MaxChannels));
}

bool CtlCommand::readChannels(const QString &word, const char *side)
{
    channels.clear();
    const QStringList parts = word.split(QLatin1Char(','));
    for (const QString &part : parts) {
        int channel = 0;
        if (!readChannel(part, side, &channel))
            return false;
        if (!channels.contains(channel))
            channels.append(channel);
    }
    std::sort(channels.begin(), channels.end());
    return true;
}

bool CtlCommand::readScene(const QStringList &args, Kind sceneKind)
{
    kind = sceneKind;
    if (ArgCheck::number(args.at(1), 1, SceneStore::SceneCount, &number))
        return true;
    return fail(QStringLiteral("scene \"%1\" is not a scene from 1 to %2").arg(args.at(1)).arg(SceneStore::SceneCount));
}

bool CtlCommand::readNet(const QStringList &args)
{
    const QString what = args.value(0);
    if (what == QLatin1String("get")) {
        kind = Kind::NetGet;
        return expect(args, 1, "net get");
    }
    if (what == QLatin1String("reset")) {
        kind = Kind::NetReset;
        return expect(args, 1, "net reset");
    }
    if (what != QLatin1String("set"))
        return fail(QStringLiteral("the command is: net get | net set IP MASK GATEWAY | net reset"));
    kind = Kind::NetSet;
    if (!expect(args, 4, "net set IP MASK GATEWAY"))
        return false;
    texts = args.mid(1);
    for (const QString &address : qAsConst(texts)) {
        if (!ArgCheck::dottedQuad(address))
            return fail(QStringLiteral("\"%1\" is not an address such as 192.168.1.20").arg(address));
    }
    return true;
}

// Several words make one text, joined by blanks; hex bytes go out the way the
// debug console turns its hex field into text.
bool CtlCommand::readRaw(const QStringList &args, bool hex)
{
    kind = Kind::Raw;
    const QString text = args.join(QLatin1Char(' '));
    if (text.isEmpty())
        return fail(QStringLiteral("the command is: raw TEXT | raw --hex \"31 44 ...\""));
    if (!hex) {
        texts = QStringList { text };
        return true;
    }
    QString badToken;
    if (!HexText::fromHexText(text, &bytes, &badToken))
        return fail(QStringLiteral("\"%1\" is not a hex byte such as \"31\" or \"2E\"").arg(badToken));
    if (bytes.isEmpty())
        return fail(QStringLiteral("the command is: raw TEXT | raw --hex \"31 44 ...\""));
    return true;
}

bool CtlCommand::fail(const QString &text)
{
    m_error = text;
    return false;
}
