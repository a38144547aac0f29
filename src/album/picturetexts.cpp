#include "picturetexts.h"

#include "albumformat.h"
#include "imaging/picturefacts.h"
#include "platform/paths.h"

namespace glimmerix
{

QString keywordsFieldText(const QStringList &keywords, int maxBytes)
{
    QString text;
    for (const QString &keyword : keywords) {
        const QString longer = text.isEmpty() ? keyword : text + QStringLiteral(", ") + keyword;
        if (longer.toUtf8().size() > maxBytes)
            break;
        text = longer;
    }
    if (text.isEmpty() && !keywords.isEmpty())
        return keywords.first(); // setFixedText cuts it
    return text;
}

void fillTextsFromPicture(BlockHandle thumbnail, const QString &path)
{
    auto *info = static_cast<ItemInfo *>(blockLock(thumbnail));
    if (!info || info->isMedia != 0)
        return;
    const bool wanted
        = info->keywords[0] == 0 || info->caption[0] == 0 || info->description[0] == 0;
    if (!wanted)
        return;
    const PictureFacts facts = readPictureFacts(absoluteItemPath(path));
    if (info->keywords[0] == 0 && !facts.keywords.isEmpty())
        setFixedText(
            info->keywords, keywordsFieldText(facts.keywords, int(sizeof info->keywords) - 1));
    if (info->caption[0] == 0 && !facts.title.isEmpty())
        setFixedText(info->caption, facts.title);
    if (info->description[0] == 0 && !facts.description.isEmpty())
        setFixedText(info->description, facts.description);
}

} // namespace glimmerix
