#include "config/filenotices.h"

#include "config/storetrace.h"

#include <QCoreApplication>
#include <QDebug>

namespace {

// One pass over the text: an argument that holds "%2" (a damaged file may hold
// anything) is never filled in itself.
QString filled(const QString &text, const QStringList &args)
{
    QString result;
    for (int i = 0; i < text.size(); ++i) {
        const int n = i + 1 < text.size() ? text.at(i + 1).digitValue() : -1;
        if (text.at(i) == QLatin1Char('%') && n >= 1 && n <= args.size()) {
            result += args.at(n - 1);
            ++i;
        } else {
            result += text.at(i);
        }
    }
    return result;
}

} // namespace

FileNotices &FileNotices::instance()
{
    static FileNotices notices;
    return notices;
}

void FileNotices::report(const char *source, const QStringList &args)
{
    qCDebug(lcStore).noquote() << filled(QString::fromUtf8(source), args);
    m_pending.append({source, args});
    emit reported();
}

QStringList FileNotices::takePending()
{
    QStringList texts;
    for (const Notice &notice : qAsConst(m_pending))
        texts << filled(QCoreApplication::translate("FileNotices", notice.source), notice.args);
    m_pending.clear();
    return texts;
}
