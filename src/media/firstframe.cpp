#include "firstframe.h"

#include "clipmodule.h"
#include "clipmoduleloader.h"
#include "imaging/dibblock.h"
#include "imaging/imagegeometry.h"

#include <QFile>

namespace glimmerix
{

namespace
{

GlimmerixReadFirstFrame clipReader()
{
    return reinterpret_cast<GlimmerixReadFirstFrame>(clipModuleSymbol(kClipEntryName));
}

GlimmerixReadTurnedFirstFrame turnedClipReader()
{
    return reinterpret_cast<GlimmerixReadTurnedFirstFrame>(clipModuleSymbol(kClipTurnedEntryName));
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

// The module's answer as a FirstFrame; frees a block it made before failing.
FirstFrame frameResult(int result, BlockHandle block)
{
    FirstFrame out;
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

} // namespace

FirstFrame readFirstVideoFrame(const QString &path)
{
    const GlimmerixReadFirstFrame read = clipReader();
    if (!read)
        return {};
    BlockHandle block = 0;
    const int result = read(QFile::encodeName(path).constData(), makeFrameBlock, &block);
    return frameResult(result, block);
}

FirstFrame readUprightFirstFrame(const QString &path)
{
    const GlimmerixReadTurnedFirstFrame read = turnedClipReader();
    if (!read)
        return {};
    BlockHandle block = 0;
    int clockwise = 0;
    const int result
        = read(QFile::encodeName(path).constData(), makeFrameBlock, &block, &clockwise);
    FirstFrame frame = frameResult(result, block);
    if (frame.result != FirstFrameResult::Ok || clockwise == 0)
        return frame;
    OwnedBlock stored(frame.block);
    frame.block = rotatePicture(stored.handle(), clockwise);
    if (!isBlockHandle(frame.block))
        return { FirstFrameResult::NoFrame, 0 };
    return frame;
}

int clipDisplayTurn(const QString &path)
{
    const auto turn
        = reinterpret_cast<GlimmerixClipDisplayTurn>(clipModuleSymbol(kClipTurnEntryName));
    return turn ? turn(QFile::encodeName(path).constData()) : 0;
}

bool browserPlaysClip(const QString &path)
{
    const auto plays
        = reinterpret_cast<GlimmerixClipBrowserPlays>(clipModuleSymbol(kClipBrowserEntryName));
    return plays && plays(QFile::encodeName(path).constData()) == 1;
}

BlockHandle GetFirstMpegFrame(const QString &path)
{
    const FirstFrame frame = readFirstVideoFrame(path);
    return frame.result == FirstFrameResult::Ok ? frame.block : 0;
}

} // namespace glimmerix
