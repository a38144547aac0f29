// Fuzz target: the instance channel's frame decoder, fed a byte stream in pieces whose sizes come
// from the input's first byte, as a socket might deliver them.

#include "platform/instanceframe.h"

#include <cstddef>
#include <cstdint>

using namespace glimmerix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const qsizetype piece = qsizetype(data[0] % 41) + 1;
    const QByteArrayView stream(reinterpret_cast<const char *>(data) + 1, qsizetype(size - 1));
    FrameDecoder decoder;
    qsizetype at = 0;
    while (at < stream.size() && !decoder.failed()) {
        const QByteArrayView chunk = stream.sliced(at, qMin(piece, stream.size() - at));
        qsizetype used = 0;
        while (used < chunk.size() && !decoder.failed()) {
            const qsizetype taken = decoder.feed(chunk.sliced(used));
            used += taken;
            if (decoder.hasFrame()) {
                const InstanceFrame frame = decoder.takeFrame();
                if (frame.payload.size() > kMaxFramePayload)
                    __builtin_trap();
                // What was decoded encodes again to the same bytes.
                if (encodeFrame(frame).size() != kFrameHeaderSize + frame.payload.size())
                    __builtin_trap();
            } else if (taken == 0) {
                break;
            }
        }
        at += chunk.size();
    }
    return 0;
}
