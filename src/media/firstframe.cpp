#include "firstframe.h"

#include "clipmodule.h"
#include "imaging/dibblock.h"

#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

#include <mutex>

namespace glimmerix
{

namespace
{

// The clip module next to the program (build tree), else in <prefix>/lib/glimmerix (installed),
// else where this build made it (test programs live in other folders).
GlimmerixReadFirstFrame loadClipModule()
{
    const QString folder = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).path();
    const QString name = QString::fromLatin1(kClipModuleName);
    for (const QString &candidate :
        { folder + u'/' + name, folder + QStringLiteral("/../lib/glimmerix/") + name,
            QStringLiteral(GLIMMERIX_CLIP_MODULE) }) {
        if (void *module = dlopen(QFile::encodeName(candidate).constData(), RTLD_NOW | RTLD_LOCAL))
            return reinterpret_cast<GlimmerixReadFirstFrame>(dlsym(module, kClipEntryName));
    }
    return nullptr;
}

GlimmerixReadFirstFrame clipReader()
{
    static std::once_flag once;
    static GlimmerixReadFirstFrame reader = nullptr;
    std::call_once(once, [] { reader = loadClipModule(); });
    return reader;
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
