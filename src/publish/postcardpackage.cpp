#include "postcardpackage.h"

#include "autorunwriter.h"
#include "packagefolder.h"
#include "postcardhtml.h"
#include "postcardmaker.h"
#include "productfiles.h"

#include "platform/host.h"
#include "platform/paths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <utility>

namespace glimmerix
{

namespace
{

const QString kBackgroundName = QStringLiteral("background.vtp");
const QString kHtmlName = QStringLiteral("postcard.html");

PostcardOutcome failure(PostcardResult result, const QString &file, const QString &cause)
{
    return { result, file + QStringLiteral(": ") + cause };
}

// Copies `source` to `destination`; the player, a program the recipient runs, stays runnable.
QString copyPackageFile(const QString &source, const QString &destination, QString *failedFile)
{
    return destination.endsWith(autoRunProgramName(AutoRunProduct::VideoPostcard))
        ? copyProductProgram(source, destination, failedFile)
        : copyProductFile(source, destination, failedFile);
}

} // namespace

bool acceptPostcardDiscFolderName(QString &name)
{
    return !name.contains(u';') && acceptDiscFolderName(name);
}

QString postcardPlayerSource()
{
    return bundledProgramPath(QStringLiteral("vplayer.bin"));
}

PostcardPackage::PostcardPackage(
    const QString &workingFolder, const QString &clipPath, const QString &playerSource)
    : m_workingFolder(workingFolder)
    , m_clipPath(clipPath)
    , m_playerSource(playerSource)
{
}

PostcardOutcome PostcardPackage::checkSources() const
{
    if (m_clipPath.isEmpty())
        return { PostcardResult::NoClip, {} };
    const QString clipProblem = postcardClipProblem(m_clipPath);
    if (!clipProblem.isEmpty())
        return failure(PostcardResult::ClipUnusable, m_clipPath, clipProblem);
    if (m_playerSource.isEmpty() || !QFileInfo(m_playerSource).isFile()) {
        return failure(PostcardResult::NoPlayer,
            m_playerSource.isEmpty() ? QStringLiteral("vplayer.bin") : m_playerSource,
            QStringLiteral("the postcard player is not installed"));
    }
    return {};
}

PostcardOutcome PostcardPackage::writeFiles(const PostcardContent &content)
{
    const QString background = m_workingFolder + kBackgroundName;
    QString cause = writeWholeFile(background, postcardFileBytes(content));
    if (!cause.isEmpty())
        return failure(PostcardResult::FileNotWritten, background, cause);
    m_backgroundPath = background;
    const QString html = m_workingFolder + kHtmlName;
    cause = writeWholeFile(html, postcardHtml(content, postcardClipFileName(m_clipPath)));
    if (!cause.isEmpty())
        return failure(PostcardResult::FileNotWritten, html, cause);
    m_htmlPath = html;
    return {};
}

PostcardOutcome PostcardPackage::deliverToFolder(
    const QString &folder, Progress *progress, bool replaceEarlier)
{
    PostcardOutcome checked = checkSources();
    if (!checked.ok())
        return checked;
    if (m_backgroundPath.isEmpty())
        return failure(PostcardResult::FileNotWritten, kBackgroundName, QStringLiteral("not made"));
    const QList<PackageFile> files = {
        { m_backgroundPath, kBackgroundName },
        { m_clipPath, postcardClipFileName(m_clipPath) },
        { m_playerSource, autoRunProgramName(AutoRunProduct::VideoPostcard), true },
        { m_htmlPath, kHtmlName },
    };
    if (progress) {
        progress->setText(joinPath(folder, QString()) + kBackgroundName);
        progress->setPosition(0);
    }
    const QString cause = deliverPackage(folder, PackageKind::Postcard, files, replaceEarlier);
    if (!cause.isEmpty())
        return { PostcardResult::CopyFailed, cause };
    if (progress)
        progress->setPosition(2);
    return {};
}

PostcardOutcome PostcardPackage::prepareDisc(CdProduct &product, const QString &discFolder)
{
    PostcardOutcome checked = checkSources();
    if (!checked.ok())
        return checked;
    if (m_backgroundPath.isEmpty())
        return failure(PostcardResult::FileNotWritten, kBackgroundName, QStringLiteral("not made"));
    // The player first, then the postcard file and the clip, as the disc lists them.
    const QString player = m_workingFolder + autoRunProgramName(AutoRunProduct::VideoPostcard);
    const QString clipCopy = m_workingFolder + postcardClipFileName(m_clipPath);
    const std::pair<QString, QString> copies[]
        = { { m_playerSource, player }, { m_clipPath, clipCopy } };
    for (const auto &[source, copy] : copies) {
        QString failedFile;
        const QString cause = copyPackageFile(source, copy, &failedFile);
        if (!cause.isEmpty())
            return failure(PostcardResult::CopyFailed, failedFile, cause);
    }
    product.projectName = QStringLiteral("VideoPostCard");
    product.workingFolder = m_workingFolder;
    product.autoRunProduct = AutoRunProduct::VideoPostcard;
    product.autoRun = true;
    product.discFolder = discFolder;
    product.files = { player, m_backgroundPath, clipCopy, m_htmlPath };
    return {};
}

} // namespace glimmerix
