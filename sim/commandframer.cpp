#include "commandframer.h"

namespace {

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

int digitRun(const QByteArray &buffer, int from)
{
    int end = from;
    while (end < buffer.size() && isDigit(buffer.at(end)))
        ++end;
    return end - from;
}

// The rest of the buffer is a proper beginning of keyword: wait for more.
bool beginsKeyword(const QByteArray &rest, const char *keyword)
{
    const QByteArray word(keyword);
    return rest.size() < word.size() && word.startsWith(rest);
}

// "HWS" and then up to twelve numbers joined by "."; returns 0 while open.
int netSettingLength(const QByteArray &buffer)
{
    constexpr int FieldCount = 12;
    int pos = 3;
    for (int field = 1;; ++field) {
        pos += digitRun(buffer, pos);
        if (pos == buffer.size())
            return 0;
        if (field == FieldCount || buffer.at(pos) != '.')
            return pos;
        if (pos + 1 == buffer.size())
            return 0;
        if (!isDigit(buffer.at(pos + 1)))
            return pos;
        ++pos;
    }
}

} // namespace

int CommandFramer::completeLength(const QByteArray &buffer)
{
    const int idLength = digitRun(buffer, 0);
    const QByteArray rest = buffer.mid(idLength);

    for (const char *word : {"BUZON", "BUZOFF"}) {
        if (rest.startsWith(word))
            return idLength + static_cast<int>(qstrlen(word));
    }
    for (const char *word : {"SAVE", "CALL"}) {
        if (rest.startsWith(word)) {
            const int numberStart = idLength + 4;
            const int end = numberStart + digitRun(buffer, numberStart);
            // Digits may still follow: "1SAVE1" could become "1SAVE12".
            return end == buffer.size() ? 0 : end;
        }
    }
    for (const char *word : {"BUZON", "BUZOFF", "SAVE", "CALL"}) {
        if (beginsKeyword(rest, word))
            return 0;
    }
    if (idLength == 0) {
        if (buffer.startsWith("HWC") || buffer.startsWith("HWR"))
            return 3;
        if (buffer.startsWith("HWS"))
            return netSettingLength(buffer);
        if (beginsKeyword(buffer, "HWC"))
            return 0;
    }
    const int dot = buffer.indexOf('.');
    return dot < 0 ? 0 : dot + 1;
}

QList<CommandFramer::Frame> CommandFramer::feed(const QByteArray &bytes)
{
    QList<Frame> frames;
    int pos = 0;
    while (pos < bytes.size()) {
        if (m_discarding) {
            const int dot = bytes.indexOf('.', pos);
            if (dot < 0) {
                m_discarded += bytes.size() - pos;
                break;
            }
            m_discarded += dot + 1 - pos;
            frames << takeDiscarded();
            pos = dot + 1;
            continue;
        }
        // Take the chunk in slices so that a flood never sits in the buffer whole,
        // and never past one byte over the limit: where a run is cut off must not
        // depend on how the link happened to split the stream.
        const int take = qMin(bytes.size() - pos, MaxCommandLength + 1 - m_buffer.size());
        m_buffer.append(bytes.constData() + pos, take);
        pos += take;
        extract(frames);
        if (m_buffer.size() > MaxCommandLength)
            startDiscarding();
    }
    return frames;
}

QList<CommandFramer::Frame> CommandFramer::flush()
{
    QList<Frame> frames;
    if (m_discarding) {
        frames << takeDiscarded();
        return frames;
    }
    // feed() took every complete command already: what is left is one unfinished.
    // The same blanks as between commands: QByteArray::trimmed() would also eat
    // a vertical tab or form feed, which is garbage anywhere else in the stream.
    int end = m_buffer.size();
    while (end > 0 && isBlank(m_buffer.at(end - 1)))
        --end;
    const QByteArray pending = m_buffer.left(end);
    m_buffer.clear();
    if (!pending.isEmpty())
        frames << Frame { pending, pending.size(), false };
    return frames;
}

bool CommandFramer::hasPending() const
{
    return m_discarding || !m_buffer.isEmpty();
}

int CommandFramer::pendingSize() const
{
    return m_buffer.size();
}

void CommandFramer::extract(QList<Frame> &frames)
{
    for (;;) {
        int blanks = 0;
        while (blanks < m_buffer.size() && isBlank(m_buffer.at(blanks)))
            ++blanks;
        m_buffer.remove(0, blanks);
        if (m_buffer.isEmpty())
            return;
        const int length = completeLength(m_buffer);
        if (length == 0)
            return;
        frames << Frame { m_buffer.left(length), length, false };
        m_buffer.remove(0, length);
    }
}

void CommandFramer::startDiscarding()
{
    m_discarding = true;
    m_discardHead = m_buffer.left(DiscardedHeadLength);
    m_discarded = m_buffer.size();
    m_buffer.clear();
}

CommandFramer::Frame CommandFramer::takeDiscarded()
{
    Frame frame { m_discardHead, m_discarded, true };
    m_discarding = false; // the head is set anew by the next run
    m_discarded = 0;
    return frame;
}
