#include "helpwindow.h"

#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTextBrowser>
#include <QUrl>

namespace glimmerix
{

namespace
{

void titleWithPage(QTextBrowser *window)
{
    const QString title = window->documentTitle();
    window->setWindowTitle(title.isEmpty() ? QTextBrowser::tr("Help") : title);
}

} // namespace

void showHelpWindow(const QString &page)
{
    static QPointer<QTextBrowser> window;
    if (!window) {
        window = new QTextBrowser;
        window->setObjectName(QStringLiteral("helpWindow"));
        window->setAttribute(Qt::WA_DeleteOnClose);
        // Help stays open beside the album, but closing the main window still ends the program.
        window->setAttribute(Qt::WA_QuitOnClose, false);
        window->setOpenExternalLinks(true);
        QObject::connect(
            window, &QTextBrowser::sourceChanged, window, [] { titleWithPage(window); });
        QSize size(640, 560);
        if (const QScreen *screen = QGuiApplication::primaryScreen())
            size = size.boundedTo(screen->availableGeometry().size() * 9 / 10);
        window->resize(size);
    }
    window->setSource(QUrl::fromLocalFile(page));
    titleWithPage(window);
    window->show();
    window->raise();
    window->activateWindow();
}

} // namespace glimmerix
