// matrix-sim's pure parser: a byte stream cut into commands by CommandFramer,
// each carried out by MatrixDevice. The stream is fed whole and again in
// chunks (as TCP may split it): both give the same commands, every frame is a
// piece of the stream, and the device state stays within its ranges.
#include "fuzzworkdir.h"

#include "commandframer.h"
#include "matrixdevice.h"

#include <QByteArray>
#include <QList>

#include <cstddef>
#include <cstdint>

namespace {

using Frames = QList<CommandFramer::Frame>;

bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}

Frames frameWhole(const QByteArray &stream)
{
    CommandFramer framer;
    Frames frames = framer.feed(stream);
    frames += framer.flush();
    FUZZ_CHECK(!framer.hasPending(), QString());
    return frames;
}

// Chunk sizes come from a small generator seeded by the input, 1 to 64 bytes.
Frames frameInChunks(const QByteArray &stream, quint32 seed)
{
    CommandFramer framer;
    Frames frames;
    for (int pos = 0; pos < stream.size();) {
        seed = seed * 1103515245u + 12345u;
        const int size = 1 + static_cast<int>((seed >> 16) % 64);
        frames += framer.feed(stream.mid(pos, size));
        pos += size;
    }
    frames += framer.flush();
    return frames;
}

// Every frame is the next piece of the stream after some blanks; what is left
// at the end is blank.
void checkCoverage(const QByteArray &stream, const Frames &frames)
{
    int pos = 0;
    for (const CommandFramer::Frame &frame : frames) {
        while (pos < stream.size() && isBlank(stream.at(pos)))
            ++pos;
        FUZZ_CHECK(frame.size > 0 && pos + frame.size <= stream.size(), QString::number(frame.size));
        const QByteArray piece = stream.mid(pos, static_cast<int>(frame.size));
        if (frame.discarded) {
            FUZZ_CHECK(frame.size > CommandFramer::MaxCommandLength, QString::number(frame.size));
            FUZZ_CHECK(piece.startsWith(frame.bytes), QString::fromLatin1(frame.bytes.toHex()));
            FUZZ_CHECK(frame.bytes.size() <= CommandFramer::DiscardedHeadLength, QString());
        } else {
            FUZZ_CHECK(piece == frame.bytes, QString::fromLatin1(frame.bytes.toHex()));
        }
        pos += static_cast<int>(frame.size);
    }
    for (; pos < stream.size(); ++pos)
        FUZZ_CHECK(isBlank(stream.at(pos)), QStringLiteral("unframed byte at %1").arg(pos));
}

bool sameFrames(const Frames &a, const Frames &b)
{
    if (a.size() != b.size())
        return false;
    for (int i = 0; i < a.size(); ++i) {
        if (a.at(i).bytes != b.at(i).bytes || a.at(i).size != b.at(i).size || a.at(i).discarded != b.at(i).discarded)
            return false;
    }
    return true;
}

void checkDevice(const MatrixDevice &device)
{
    FUZZ_CHECK(device.routing().size() == device.outputCount(), QString());
    for (int input : device.routing())
        FUZZ_CHECK(input >= 1 && input <= device.inputCount(), QString::number(input));
    FUZZ_CHECK(device.edid().size() == device.inputCount(), QString());
    for (int output : device.edid())
        FUZZ_CHECK(output >= 0 && output <= device.outputCount(), QString::number(output));
    for (int scene = 1; scene <= MatrixDevice::SceneCount; ++scene)
        FUZZ_CHECK(!device.hasScene(scene) || device.scene(scene).size() == device.outputCount(), QString());
    FUZZ_CHECK(device.netQueryReply().size() <= MatrixDevice::MaxReplyLength, QString());
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *argc, char ***argv)
{
    initFuzzing(argc, argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    // Four bytes of set-up: chunking seed, matrix ID, input and output counts.
    if (size < 4)
        return 0;
    const quint32 seed = data[0];
    const int id = data[1] % 4;
    const int inputs = 1 + data[2] % 70;
    const int outputs = 1 + data[3] % 70;
    const QByteArray stream(reinterpret_cast<const char *>(data) + 4, static_cast<int>(size) - 4);

    const Frames whole = frameWhole(stream);
    checkCoverage(stream, whole);
    const Frames chunked = frameInChunks(stream, seed);
    checkCoverage(stream, chunked);
    FUZZ_CHECK(sameFrames(whole, chunked), QStringLiteral("framing depends on how the stream is split"));

    MatrixDevice device(id, inputs, outputs);
    for (const CommandFramer::Frame &frame : whole) {
        if (frame.discarded)
            continue;
        const CommandOutcome outcome = device.execute(frame.bytes);
        fuzzFeature(static_cast<unsigned>(outcome.result) * 16 + static_cast<unsigned>(qHash(outcome.action) % 16));
        FUZZ_CHECK(outcome.reply.isEmpty() || outcome.action == QLatin1String("net-query"), outcome.action);
        FUZZ_CHECK(outcome.reply.size() <= MatrixDevice::MaxReplyLength, QString());
        checkDevice(device);
    }
    return 0;
}
