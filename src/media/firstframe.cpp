#include "firstframe.h"

#include "clipmodule.h"
#include "clipmoduleloader.h"
#include "imaging/dibblock.h"

#include <QFile>

namespace glimmerix
{

namespace
{

GlimmerixReadFirstFrame clipReader()
{
    return reinterpret_cast<GlimmerixReadFirstFrame>(clipModuleSymbol(kClipEntryName));
}

// Hands the module a new 24-bit image block to draw into; rows are stored bottom-up.
unsigned char *makeFrameBlock(void *context, int width, int height, int *stride)
{
    auto *block = static_cast<BlockHandle *>(context);
    const DecodeResult made = createImageBlock(width, height, 24, 0);
    if (made.status != DecodeStatus::Ok)
        return nullptr;
    *block = made.block;
    *stride = -int(dibRowBytes(width, 24));
    return dibRow(dibHeader(made.block), height - 1);
}

} // namespace

FirstFrame readFirstVideoFrame(const QString &path)
{
    FirstFrame out;
    const GlimmerixReadFirstFrame read = clipReader();
    if (!read)
        return out;
    BlockHandle block = 0;
    const int result = read(QFile::encodeName(path).constData(), makeFrameBlock, &block);
    switch (result) {
    case GlimmerixClipOk:
        out.result = FirstFrameResult::Ok;
        out.block = block;
        return out;
    case GlimmerixClipNoVideoStream:
        out.result = FirstFrameResult::NoVideoStream;
        break;
    case GlimmerixClipNoFrame:
        out.result = FirstFrameResult::NoFrame;
        break;
    default:
        out.result = FirstFrameResult::CannotOpen;
        break;
    }
    if (isBlockHandle(block))
        blockFree(block);
    return out;
}

BlockHandle GetFirstMpegFrame(const QString &path)
{
    const FirstFrame frame = readFirstVideoFrame(path);
    return frame.result == FirstFrameResult::Ok ? frame.block : 0;
}

} // namespace glimmerix
