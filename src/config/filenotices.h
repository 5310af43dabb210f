#pragma once

#include <QObject>
#include <QStringList>
#include <QVector>

// What the program found wrong with its stored files, for the debug console.
// The settings and the stores are read before the console exists, so their
// findings wait here until the window takes them; each is translated when
// taken, into the language the window shows by then.
class FileNotices : public QObject
{
    Q_OBJECT

public:
    static FileNotices &instance();

    // source: English text marked with QT_TRANSLATE_NOOP("FileNotices", ...),
    // whose %1, %2, ... take args in order. It goes to the debug log at once.
    void report(const char *source, const QStringList &args);
    // The findings not yet taken, oldest first.
    QStringList takePending();

signals:
    void reported();

private:
    struct Notice
    {
        const char *source;
        QStringList args;
    };

    QVector<Notice> m_pending;
};
