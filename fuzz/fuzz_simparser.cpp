#include "fuzzharness.h"

#include "commandframer.h"
#include "matrixdevice.h"

#include <algorithm>

using Commands = QList<QPair<QByteArray, qint64>>;

// The stream's commands (text, and size negated for a run dropped unread), fed whole or in chunks of 1 to
// 64 bytes from a generator seeded by the input. Each frame is the next piece of the stream after blanks.
static Commands frame(const QByteArray &stream, quint32 seed, bool whole)
{
    const auto isBlank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
    CommandFramer framer;
    QList<CommandFramer::Frame> frames;
    for (int pos = 0, size = 0; pos < stream.size(); pos += size) {
        seed = seed * 1103515245u + 12345u;
        size = whole ? stream.size() : 1 + static_cast<int>((seed >> 16) % 64);
        frames += framer.feed(stream.mid(pos, size));
    }
    frames += framer.flush();
    FUZZ_CHECK(!framer.hasPending());
    Commands commands;
    int pos = 0;
    for (const CommandFramer::Frame &f : qAsConst(frames)) {
        while (pos < stream.size() && isBlank(stream.at(pos)))
            ++pos;
        const QByteArray piece = stream.mid(pos, static_cast<int>(f.size));
        FUZZ_CHECK(f.size > 0 && piece.size() == f.size
                   && (f.discarded ? f.size > CommandFramer::MaxCommandLength && piece.startsWith(f.bytes)
                              && f.bytes.size() <= CommandFramer::DiscardedHeadLength
                                   : piece == f.bytes));
        pos += static_cast<int>(f.size);
        commands.append({ f.bytes, f.discarded ? -f.size : f.size });
    }
    FUZZ_CHECK(std::all_of(stream.begin() + pos, stream.end(), isBlank));
    return commands;
}

void fuzzInput(const QByteArray &input)
{
    // Four bytes of set-up: chunking seed, matrix ID, input and output counts.
    if (input.size() < 4)
        return;
    const auto setup = [&input](int i) { return static_cast<unsigned char>(input.at(i)); };
    const Commands commands = frame(input.mid(4), 0, true);
    FUZZ_CHECK(frame(input.mid(4), setup(0), false) == commands, "framing depends on the chunks");

    MatrixDevice device(setup(1) % 4, 1 + setup(2) % 70, 1 + setup(3) % 70);
    const auto within = [](const QVector<int> &values, int size, int low, int high) {
        return values.size() == size
            && std::all_of(values.begin(), values.end(), [=](int v) { return v >= low && v <= high; });
    };
    for (const auto &command : commands) {
        const CommandOutcome outcome = device.execute(command.second < 0 ? QByteArray() : command.first);
        FUZZ_CHECK((outcome.reply.isEmpty() || outcome.action == QLatin1String("net-query"))
                       && qMax(outcome.reply.size(), device.netQueryReply().size()) <= MatrixDevice::MaxReplyLength
                       && within(device.routing(), device.outputCount(), 1, device.inputCount())
                       && within(device.edid(), device.inputCount(), 0, device.outputCount()),
                   outcome.action);
        for (int scene = 1; scene <= MatrixDevice::SceneCount; ++scene)
            FUZZ_CHECK(!device.hasScene(scene) || device.scene(scene).size() == device.outputCount());
    }
}
