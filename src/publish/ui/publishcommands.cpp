#include "publishcommands.h"

#include "postcardwizard.h"
#include "presentationwindow.h"
#include "searchdialog.h"
#include "slideshowwizard.h"
#include "webalbumwizard.h"

#include "album/albumdoc.h"
#include "core/commandids.h"
#include "imaging/mediatypes.h"

#include <QApplication>

namespace glimmerix
{

CommandSet publishCommandSet(const PublishCommandContext &context)
{
    const PublishCommandContext c = context;
    const auto hasItems = [&document = c.document] { return document.itemCount() > 0; };
    CommandSet set;
    set.name = QStringLiteral("publish");
    set.menus = { standardMenu(kAlbumMenu) };
    set.commands = {
        { Command::kWebAlbum, 0, QApplication::translate("CMainFrame", "Make &Web Album..."),
            [c] { runWebAlbumWizard(c.document, c.settings, c.frame, c.openHelp); }, hasItems,
            { kAlbumMenu, 500 } },
        { Command::kSlideShow, 0, QApplication::translate("CMainFrame", "Make &Slide Show..."),
            [c] { runSlideShowWizard(c.document, c.settings, c.frame, c.openHelp); }, hasItems,
            { kAlbumMenu, 510 } },
        { Command::kVideoPostcard, 0,
            QApplication::translate("CMainFrame", "Make Video &Postcard..."),
            [c] {
                const AlbumItem *item = c.document.item(c.currentItem());
                const bool clip = item && item->exists() && IsVideoFile(item->absolutePath());
                runPostcardWizard(
                    clip ? item->absolutePath() : QString(), c.settings, c.frame, c.openHelp);
            },
            {}, { kAlbumMenu, 520 } },
    };
    return set;
}

CommandSet searchCommandSet(const PublishCommandContext &context)
{
    const PublishCommandContext c = context;
    CommandSet set;
    set.name = QStringLiteral("search and presentation");
    set.menus = { standardMenu(kAlbumMenu) };
    set.commands = {
        { Command::kSearchAlbums, 0, QApplication::translate("CMainFrame", "Searc&h Albums..."),
            [c] { runSearchDialog(c.document, c.albumList, c.fieldLabels(), c.frame, c.openHelp); },
            {}, { kAlbumMenu, 600 }, QKeySequence::Find },
        { Command::kPresentation, 0,
            QApplication::translate("CMainFrame", "&Full-Screen Slide Show..."),
            [c] { startPresentation(c.document, c.frame, c.openHelp); },
            [&document = c.document] { return document.itemCount() > 0; }, { kAlbumMenu, 610 },
            QKeySequence(Qt::Key_F5) },
    };
    return set;
}

} // namespace glimmerix
