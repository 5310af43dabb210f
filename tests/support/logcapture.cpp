#include "support/logcapture.h"

#include <QMutex>

namespace {

QtMessageHandler g_previous = nullptr;
int g_captures = 0;
QMutex g_mutex;
QStringList g_lines;

void capture(QtMsgType type, const QMessageLogContext &context, const QString &message)
{
    {
        const QMutexLocker lock(&g_mutex);
        g_lines << message;
    }
    if (g_previous)
        g_previous(type, context, message);
}

} // namespace

LogCapture::LogCapture()
{
    const QMutexLocker lock(&g_mutex);
    if (g_captures++ == 0) {
        g_lines.clear();
        g_previous = qInstallMessageHandler(capture);
    }
}

LogCapture::~LogCapture()
{
    const QMutexLocker lock(&g_mutex);
    if (--g_captures == 0)
        qInstallMessageHandler(g_previous);
}

QStringList LogCapture::lines() const
{
    const QMutexLocker lock(&g_mutex);
    return g_lines;
}
