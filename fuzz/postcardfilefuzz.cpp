// Fuzz target: the postcard file reader the player runs on files that may come from anywhere,
// then what the player relies on: a card bitmap whose rows lie inside it, a sane window.

#include "publish/postcardfile.h"
#include "publish/postcardmaker.h"

#include <cstdlib>

using namespace glimmerix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray bytes
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    QString error;
    const std::optional<PostcardContent> content = readPostcardFile(bytes, &error);
    if (!content) {
        if (error.isEmpty())
            std::abort();
        return 0;
    }
    if (!content->hasEntry)
        return 0;
    if (content->window.left() < 0 || content->window.top() < 0 || content->window.width() < 1
        || content->window.height() < 1 || content->window.right() >= 4096
        || content->window.bottom() >= 4096)
        std::abort();
    if (qint64(content->cardPicture.size()) + content->frameData.size() > qint64(size))
        std::abort();
    // The player draws both pictures; neither may crash whatever the bytes.
    (void)postcardCardImage(*content);
    (void)postcardFrameImage(*content);
    return 0;
}
