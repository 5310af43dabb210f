#include "link/logstamp.h"

#include <QDateTime>

QString LogStamp::now()
{
    return QDateTime::currentDateTime().toString(QStringLiteral("hh:mm:ss:zzz"));
}
