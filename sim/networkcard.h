#pragma once

#include <QString>

// The settings of the matrix's network card as it reports them. They are only
// stored: the simulator never moves its own listening address because of them.
struct NetworkCard
{
    QString ip;
    quint16 port = 0;
    QString subnet;
    QString gateway;
    QString mac;

    // What "HWR" restores; the MAC address belongs to the card and stays.
    static NetworkCard factorySettings(const QString &mac)
    {
        return NetworkCard { QStringLiteral("192.168.1.168"), 6800, QStringLiteral("255.255.255.0"),
                             QStringLiteral("192.168.1.1"), mac };
    }

    // A locally administered address ("02:..."), different for each matrix ID.
    static QString macForId(int id)
    {
        return QString::asprintf("02:4D:43:00:%02X:%02X", (id >> 8) & 0xFF, id & 0xFF);
    }
};
