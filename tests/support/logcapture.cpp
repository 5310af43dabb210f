#include "support/logcapture.h"

#include <QMutex>
#include <QMutexLocker>

namespace {

QtMessageHandler g_previous = nullptr;
int g_captures = 0;

QMutex &logMutex()
{
    static QMutex mutex;
    return mutex;
}

QStringList &logLines()
{
    static QStringList lines;
    return lines;
}

void capture(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    {
        QMutexLocker lock(&logMutex());
        logLines() << message;
    }
    if (g_previous)
        g_previous(type, context, message);
}

} // namespace

LogCapture::LogCapture()
{
    QMutexLocker lock(&logMutex());
    if (g_captures++ == 0) {
        logLines().clear();
        g_previous = qInstallMessageHandler(capture);
    }
}

LogCapture::~LogCapture()
{
    QMutexLocker lock(&logMutex());
    if (--g_captures == 0)
        qInstallMessageHandler(g_previous);
}

QStringList LogCapture::lines() const
{
    QMutexLocker lock(&logMutex());
    return logLines();
}

