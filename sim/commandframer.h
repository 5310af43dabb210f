#pragma once

#include <QByteArray>
#include <QList>

// Cuts the byte stream of one link into commands. Routing and EDID commands
// end with "."; scene, buzzer and network commands have no terminator, so they
// end where the next command plainly begins or, failing that, when the stream
// goes quiet (the owner calls flush() after a pause). Pure: no I/O, no timers.
class CommandFramer
{
public:
    struct Frame
    {
        // The command; for a discarded run only its first bytes.
        QByteArray bytes;
        // How many bytes of the stream the frame stands for.
        qint64 size = 0;
        // True for a run longer than any command that was dropped unread.
        bool discarded = false;
    };

    // The longest real command is a routing to 64 outputs (about 200 bytes);
    // anything longer without an end is garbage and is not kept.
    static constexpr int MaxCommandLength = 512;
    static constexpr int DiscardedHeadLength = 32;

    QList<Frame> feed(const QByteArray &bytes);
    // The stream went quiet or closed: whatever is pending is one command.
    QList<Frame> flush();

    bool hasPending() const;
    int pendingSize() const;

    // Length of the first complete command at the start of buffer, or 0 while
    // more bytes could still change where it ends. Leading blanks are skipped by the caller.
    static int completeLength(const QByteArray &buffer);

private:
    void extract(QList<Frame> &frames);
    void startDiscarding();
    Frame takeDiscarded();

    QByteArray m_buffer;
    bool m_discarding = false;
    QByteArray m_discardHead;
    qint64 m_discarded = 0;
};
