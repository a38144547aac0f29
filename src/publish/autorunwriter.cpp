#include "autorunwriter.h"

#include "productfiles.h"

namespace glimmerix
{

QString autoRunProgramName(AutoRunProduct product)
{
    switch (product) {
    case AutoRunProduct::WebAlbum:
        return QStringLiteral("WebAlbum.exe");
    case AutoRunProduct::SlideShow:
        return QStringLiteral("slideshow.exe");
    case AutoRunProduct::VideoPostcard:
        return QStringLiteral("VideoPostcard.exe");
    }
    return {};
}

QByteArray autoRunContent(AutoRunProduct product, const QString &discFolder)
{
    const QString program = autoRunProgramName(product);
    QString target = program;
    if (!discFolder.isEmpty()) {
        // The disc's autorun reads a Windows path: the folder, a backslash, the program.
        target = discFolder + u'\\' + program;
        if (product == AutoRunProduct::WebAlbum)
            target = u'"' + target + u'"';
    }
    const QString text = QStringLiteral("[autorun]\r\nopen=") + target + QStringLiteral("\r\nicon=")
        + target + QStringLiteral("\r\n");
    return text.toUtf8();
}

QString writeAutoRun(const QString &folder, AutoRunProduct product, const QString &discFolder)
{
    return writeWholeFile(
        folder + QStringLiteral("AutoRun.inf"), autoRunContent(product, discFolder));
}

bool acceptDiscFolderName(QString &name)
{
    static const QString forbidden = QStringLiteral(".?:*<>/\\|\"");
    for (const QChar c : std::as_const(name)) {
        if (forbidden.contains(c))
            return false;
    }
    name.replace(u' ', u'_');
    return true;
}

} // namespace glimmerix
