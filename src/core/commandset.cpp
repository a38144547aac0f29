#include "commandset.h"

#include <QCoreApplication>

#include <iterator>

namespace glimmerix
{

MenuEntry standardMenu(const char *key)
{
    struct Standard {
        const char *key;
        const char *text;
    };
    static constexpr Standard menus[] = {
        { kFileMenu, QT_TRANSLATE_NOOP("CMainFrame", "&File") },
        { kEditMenu, QT_TRANSLATE_NOOP("CMainFrame", "&Edit") },
        { kAlbumMenu, QT_TRANSLATE_NOOP("CMainFrame", "&Album") },
        { kItemMenu, QT_TRANSLATE_NOOP("CMainFrame", "&Item") },
        { kHelpMenu, QT_TRANSLATE_NOOP("CMainFrame", "&Help") },
    };
    for (int index = 0; index < int(std::size(menus)); ++index) {
        if (qstrcmp(menus[index].key, key) == 0)
            return { QString::fromLatin1(key),
                QCoreApplication::translate("CMainFrame", menus[index].text), (index + 1) * 100 };
    }
    return { QString::fromLatin1(key), QString::fromLatin1(key), 1000 };
}

} // namespace glimmerix
