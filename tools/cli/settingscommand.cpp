// glimix-cli settings show | set-labels CAPTION KEYWORDS DESCRIPTION: shows where Glimmerix keeps
// its files and what its settings hold, and sets the three field labels.

#include "clicommand.h"

#include "core/appsettings.h"
#include "platform/fillin.h"
#include "platform/privateprofile.h"

using namespace glimmerix;

namespace
{

QString row(const QString &name, const QString &value)
{
    return fillIn(QStringLiteral("  %1 %2\n"), (name + u':').leftJustified(22), value);
}

QString describeFolders(const AppSettings &settings)
{
    const Folders &folders = settings.folders();
    QString text = QStringLiteral("Folders\n");
    text += row(QStringLiteral("resources"), folders.resourceFolder());
    text += row(QStringLiteral("support"), folders.supportFolder());
    text += row(QStringLiteral("local templates"), folders.localTemplateFolder());
    text += row(QStringLiteral("user folder"), folders.userFolder());
    text += row(QStringLiteral("albums"), folders.albumsFolder());
    text += row(QStringLiteral("photos"), folders.photosFolder());
    text += row(QStringLiteral("audio"), folders.audioFolder());
    text += row(QStringLiteral("video"), folders.videoFolder());
    text += row(QStringLiteral("templates"), folders.templateFolder());
    text += row(QStringLiteral("slide shows"), folders.slideShowFolder());
    text += row(QStringLiteral("web albums"), folders.webAlbumFolder());
    text += row(QStringLiteral("video cards"), folders.videoCardFolder());
    const QString cdTemplates = settings.cdTemplateFolder();
    text += row(QStringLiteral("CD templates"),
        cdTemplates.isEmpty() ? QStringLiteral("(no CD drive set)") : cdTemplates);
    return text;
}

QString describeFiles(const AppSettings &settings)
{
    const SettingsFiles &files = settings.store().files();
    QString text = QStringLiteral("\nSettings files\n");
    text += row(QStringLiteral("user root"), files.user);
    text += row(QStringLiteral("machine root"), files.machine);
    for (const QString &layer : files.machineDefaults)
        text += row(QStringLiteral("  read-only under it"), layer);
    text += row(QStringLiteral("private profile"), privateProfilePath());
    return text;
}

QString describeValues(const AppSettings &settings)
{
    QString text = QStringLiteral("\nSettings\n");
    text += row(QStringLiteral("LastFile"), settings.lastFile());
    const OnlineService &online = settings.onlineService();
    text += row(QStringLiteral("ZoSite"), online.site);
    text += row(QStringLiteral("ZoGetServer"), online.getServer);
    text += row(QStringLiteral("ZoUpload"), online.upload);
    text += row(QStringLiteral("ZoDownload"), online.download);
    text += row(QStringLiteral("CDDrive"), settings.cdDrive());
    text += row(QStringLiteral("TemplateDir"),
        settings.templateDirSet() ? settings.templateDir() : QStringLiteral("(not set)"));
    text += row(QStringLiteral("Field1 (caption)"), settings.fieldLabel(ItemField::Caption));
    text += row(QStringLiteral("Field2 (keywords)"), settings.fieldLabel(ItemField::Keywords));
    text
        += row(QStringLiteral("Field3 (description)"), settings.fieldLabel(ItemField::Description));
    text += row(QStringLiteral("AddPhotoPath"), settings.addPhotoPath());
    const AcquireSettings &acquire = settings.acquireSettings();
    text += row(QStringLiteral("AcquirePath"), acquire.path);
    text += row(QStringLiteral("AcquireFilePrefix"), acquire.filePrefix);
    text += row(QStringLiteral("AcquireSource"), acquire.source);
    text += row(QStringLiteral("AcquireFileType"), QString::number(acquire.fileType));
    text += row(QStringLiteral("AcquireCustPrefix"), QString::number(acquire.custPrefix));
    text += QStringLiteral("\nExternal applications\n");
    if (settings.externalApps().isEmpty())
        text += QStringLiteral("  (none)\n");
    int number = 0;
    for (const ExternalApp &app : settings.externalApps())
        text += fillIn(QStringLiteral("  %1. %2  %3\n"), ++number, app.label, app.path);
    return text;
}

int runSettings(const QStringList &args)
{
    const QString command = QStringLiteral("settings");
    if (args.isEmpty())
        return cliUsageError(command, QStringLiteral("give show or set-labels"));
    AppSettings &settings = appSettings();
    settings.load();
    if (args.first() == QLatin1String("show") && args.size() == 1) {
        cliOut(describeFolders(settings) + describeFiles(settings) + describeValues(settings));
        const QStringList problems = settings.store().parseErrors();
        if (!problems.isEmpty())
            cliOut(QStringLiteral("\nSkipped lines\n  ") + problems.join(QStringLiteral("\n  "))
                + u'\n');
        return 0;
    }
    if (args.first() == QLatin1String("set-labels") && args.size() == 4) {
        if (!settings.setFieldLabels(args[1], args[2], args[3])) {
            return cliFail(settings.store().files().user, QStringLiteral("cannot be written"));
        }
        cliOut(QStringLiteral("%1 | %2 | %3\n")
                   .arg(settings.fieldLabel(ItemField::Caption),
                       settings.fieldLabel(ItemField::Keywords),
                       settings.fieldLabel(ItemField::Description)));
        return 0;
    }
    return cliUsageError(command, QStringLiteral("unknown form of the command"));
}

const CliRegistration registration({ QStringLiteral("settings"),
    QStringLiteral("settings show | set-labels CAPTION KEYWORDS DESCRIPTION"),
    QStringLiteral("show folders, settings files and settings; set the three field labels"),
    QStringLiteral("Both forms read the settings as the program does at start, which makes\n"
                   "missing folders and keys. An empty label leaves that label unchanged."),
    runSettings });

} // namespace
