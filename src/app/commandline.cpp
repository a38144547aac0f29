#include "commandline.h"

#include <QDir>
#include <QFileInfo>

namespace glimmerix
{

namespace
{

bool isSwitch(const QString &argument, QLatin1StringView name)
{
    QStringView body(argument);
    body = body.mid(body.startsWith(u"--") ? 2 : 1);
    return body.compare(name, Qt::CaseInsensitive) == 0;
}

} // namespace

StartupCommandLine parseCommandLine(const QStringList &arguments, const QString &currentFolder)
{
    StartupCommandLine result;
    const QDir base(currentFolder);
    bool switchesEnded = false;
    for (const QString &argument : arguments) {
        if (argument.isEmpty())
            continue;
        if (!switchesEnded && argument.startsWith(u'-')) {
            if (argument == QLatin1String("--"))
                switchesEnded = true;
            else if (isSwitch(argument, QLatin1StringView("embedding"))
                || isSwitch(argument, QLatin1StringView("view")))
                result.embedding = true;
            else if (isSwitch(argument, QLatin1StringView("automation")))
                result.automation = true;
            else
                result.unknownSwitches.append(argument);
            continue;
        }
        // Folded lexically ("a/./b", "a/../b"), as a shell user reads it; links are not resolved.
        result.files.append(QDir::cleanPath(base.absoluteFilePath(argument)));
    }
    if (!result.files.isEmpty())
        result.fileName = result.files.constFirst();
    return result;
}

bool isAlbumFileName(const QString &path)
{
    return path.endsWith(QLatin1String(".gmx"), Qt::CaseInsensitive);
}

bool meansUntitled(const QString &name)
{
    return name == QLatin1String(kNewPseudoName) || name == QLatin1String(kUntitledName);
}

QString albumNameToOpen(const StartupCommandLine &commandLine)
{
    if (isAlbumFileName(commandLine.fileName))
        return commandLine.fileName;
    return QString::fromLatin1(kNewPseudoName);
}

QString albumToShow(const StartupCommandLine &commandLine, const QString &lastFile)
{
    const QString name = albumNameToOpen(commandLine);
    return meansUntitled(name) ? lastFile : name;
}

QStringList filesToAdd(const StartupCommandLine &commandLine)
{
    QStringList files;
    for (const QString &file : commandLine.files) {
        if (!isAlbumFileName(file))
            files.append(file);
    }
    return files;
}

bool forgetsLastAlbum(const QString &album, const QString &lastFile, const QString &openedPath)
{
    if (album.isEmpty() || album != lastFile)
        return false;
    const QFileInfo file(album);
    return openedPath != file.absoluteFilePath() && !file.exists();
}

StartupDecision decideStartup(const StartupCommandLine &commandLine, bool anotherInstanceRuns)
{
    if (!anotherInstanceRuns)
        return StartupDecision::FirstInstance;
    if (!commandLine.fileName.isEmpty() && !isAlbumFileName(commandLine.fileName))
        return StartupDecision::HandOver;
    return StartupDecision::SecondInstance;
}

} // namespace glimmerix
