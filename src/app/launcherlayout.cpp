#include "launcherlayout.h"

#include "core/appsettings.h"

#include "platform/host.h"
#include "platform/strings.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>

ButtonRect launcherButtonRect(int index)
{
    return { 30 + 65 * index, 5, 85 + 65 * index, 60 };
}

QRect launcherButtonArea(int count)
{
    if (count <= 0)
        return {};
    return launcherButtonRect(0).toRect().united(launcherButtonRect(count - 1).toRect());
}

QList<LauncherEntry> launcherEntriesFrom(const QList<ExternalApp> &apps)
{
    QList<LauncherEntry> entries;
    for (const ExternalApp &app : apps)
        entries.append({ app.path, app.label, launcherButtonRect(int(entries.size())) });
    return entries;
}

QList<ExternalApp> externalAppsFrom(const QList<LauncherEntry> &entries)
{
    QList<ExternalApp> apps;
    for (const LauncherEntry &entry : entries)
        apps.append({ entry.path, entry.label });
    return apps;
}

void LauncherState::setEntries(const QList<LauncherEntry> &entries)
{
    m_entries = entries;
    for (int index = 0; index < count(); ++index)
        m_entries[index].rect = launcherButtonRect(index);
    m_looks = QList<ButtonLook>(count(), ButtonLook::Normal);
    m_pressed = -1;
    m_held = false;
}

ButtonLook LauncherState::look(int index) const
{
    return index >= 0 && index < count() ? m_looks[index] : ButtonLook::Normal;
}

int LauncherState::buttonAt(QPoint point) const
{
    for (int index = 0; index < count(); ++index) {
        if (m_entries[index].rect.contains(point))
            return index;
    }
    return -1;
}

QString LauncherState::toolTipAt(QPoint point) const
{
    const int index = buttonAt(point);
    return index < 0 ? QString() : m_entries[index].label;
}

QString LauncherState::mouseMove(QPoint point)
{
    if (m_entries.isEmpty())
        return formatString(LauncherMessage::kEmptyStatus);
    const int under = buttonAt(point);
    if (m_held) {
        if (m_pressed >= 0 && m_pressed < count())
            m_looks[m_pressed] = under == m_pressed ? ButtonLook::Pressed : ButtonLook::Normal;
        return under < 0 ? loadString(LauncherMessage::kIdleStatus)
                         : formatString(LauncherMessage::kButtonStatus, { m_entries[under].label });
    }
    for (int index = 0; index < count(); ++index)
        m_looks[index] = index == under ? ButtonLook::Hover : ButtonLook::Normal;
    if (under < 0)
        return loadString(LauncherMessage::kIdleStatus);
    return formatString(LauncherMessage::kButtonStatus, { m_entries[under].label });
}

bool LauncherState::press(QPoint point)
{
    const int under = buttonAt(point);
    if (under < 0)
        return false;
    for (ButtonLook &look : m_looks)
        look = ButtonLook::Normal;
    m_looks[under] = ButtonLook::Pressed;
    m_pressed = under;
    m_held = true;
    return true;
}

int LauncherState::releaseLeft(QPoint point)
{
    const int under = buttonAt(point);
    if (m_pressed >= 0 && m_pressed < count())
        m_looks[m_pressed] = ButtonLook::Normal;
    m_pressed = -1;
    m_held = false;
    return under;
}

LauncherState::SetupRequest LauncherState::releaseRight(QPoint point)
{
    SetupRequest request;
    if (m_pressed >= 0 && m_pressed < count()) {
        m_looks[m_pressed] = ButtonLook::Normal;
        if (m_held && buttonAt(point) == m_pressed)
            request.preselect = m_pressed;
    }
    m_pressed = -1;
    m_held = false;
    return request;
}

int LauncherState::dragMove(QPoint point, bool acceptable)
{
    const int under = acceptable ? buttonAt(point) : -1;
    for (int index = 0; index < count(); ++index) {
        if (index == under)
            m_looks[index] = ButtonLook::Hover;
        else if (m_looks[index] == ButtonLook::Hover)
            m_looks[index] = ButtonLook::Normal;
    }
    return under;
}

bool LauncherState::resetHover()
{
    bool changed = false;
    for (ButtonLook &look : m_looks) {
        if (look == ButtonLook::Hover) {
            look = ButtonLook::Normal;
            changed = true;
        }
    }
    return changed;
}

void LauncherState::resetLooks()
{
    for (ButtonLook &look : m_looks)
        look = ButtonLook::Normal;
    m_pressed = -1;
    m_held = false;
}

// ---- starting programs

bool isDesktopEntryPath(const QString &path)
{
    return path.endsWith(QLatin1String(".desktop"), Qt::CaseInsensitive);
}

namespace
{

// The general escapes of desktop-entry string values.
QString unescapeValue(const QString &value)
{
    QString text;
    text.reserve(value.size());
    for (qsizetype i = 0; i < value.size(); ++i) {
        const QChar c = value[i];
        if (c != u'\\' || i + 1 == value.size()) {
            text += c;
            continue;
        }
        const QChar next = value[++i];
        switch (next.unicode()) {
        case 's':
            text += u' ';
            break;
        case 'n':
            text += u'\n';
            break;
        case 't':
            text += u'\t';
            break;
        case 'r':
            text += u'\r';
            break;
        case '\\':
            text += u'\\';
            break;
        default:
            text += u'\\';
            text += next;
        }
    }
    return text;
}

// Splits the Exec= line into words; false on an unterminated quote.
bool splitExecLine(const QString &exec, QStringList &words)
{
    QString word;
    bool inWord = false;
    bool quoted = false;
    for (qsizetype i = 0; i < exec.size(); ++i) {
        const QChar c = exec[i];
        if (quoted) {
            if (c == u'"') {
                quoted = false;
            } else if (c == u'\\' && i + 1 < exec.size()) {
                word += exec[++i];
            } else {
                word += c;
            }
            continue;
        }
        if (c == u'"') {
            quoted = true;
            inWord = true;
        } else if (c == u' ' || c == u'\t' || c == u'\n') {
            if (inWord)
                words << word;
            word.clear();
            inWord = false;
        } else {
            word += c;
            inWord = true;
        }
    }
    if (quoted)
        return false;
    if (inWord)
        words << word;
    return true;
}

} // namespace

DesktopEntry parseDesktopEntry(const QByteArray &contents)
{
    DesktopEntry entry;
    bool inMainGroup = false;
    const QList<QByteArray> lines = contents.split('\n');
    for (const QByteArray &rawLine : lines) {
        const QString line = QString::fromUtf8(rawLine).trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            inMainGroup = line == QLatin1String("[Desktop Entry]");
            continue;
        }
        if (!inMainGroup)
            continue;
        const qsizetype equals = line.indexOf(u'=');
        if (equals <= 0)
            continue;
        const QString key = line.left(equals).trimmed();
        const QString value = unescapeValue(line.mid(equals + 1).trimmed());
        if (key == QLatin1String("Name"))
            entry.name = value;
        else if (key == QLatin1String("Icon"))
            entry.icon = value;
        else if (key == QLatin1String("Exec"))
            entry.exec = value;
        else if (key == QLatin1String("Path"))
            entry.path = value;
    }
    entry.valid = !entry.exec.isEmpty();
    return entry;
}

QStringList expandExecLine(const QString &exec, const QStringList &files, const QString &name,
    const QString &icon, const QString &desktopFile)
{
    QStringList words;
    if (!splitExecLine(exec, words) || words.isEmpty())
        return {};
    QStringList result;
    bool filesUsed = false;
    for (const QString &word : std::as_const(words)) {
        if (word == QLatin1String("%F") || word == QLatin1String("%U")) {
            result << files;
            filesUsed = true;
            continue;
        }
        if (word == QLatin1String("%i")) {
            if (!icon.isEmpty())
                result << QStringLiteral("--icon") << icon;
            continue;
        }
        QString expanded;
        bool hadCode = false;
        for (qsizetype i = 0; i < word.size(); ++i) {
            if (word[i] != u'%' || i + 1 == word.size()) {
                expanded += word[i];
                continue;
            }
            const QChar code = word[++i];
            hadCode = true;
            switch (code.unicode()) {
            case '%':
                expanded += u'%';
                break;
            case 'f':
            case 'u':
            case 'F':
            case 'U':
                expanded += files.value(0);
                filesUsed = true;
                break;
            case 'c':
                expanded += name;
                break;
            case 'k':
                expanded += desktopFile;
                break;
            default:
                break; // deprecated and unknown codes vanish
            }
        }
        // A word that was only a field code with nothing to put in disappears.
        if (hadCode && expanded.isEmpty())
            continue;
        result << expanded;
    }
    if (result.isEmpty())
        return {};
    if (!filesUsed)
        result << files;
    return result;
}

LaunchCommand launchCommandFor(const QString &path, const QStringList &files)
{
    LaunchCommand command;
    if (!isDesktopEntryPath(path)) {
        command.program = path;
        command.arguments = files;
        command.workingFolder = QFileInfo(path).absolutePath();
        return command;
    }
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return command;
    // A desktop entry is a few hundred bytes; anything past 1 MB is not one.
    const DesktopEntry entry = parseDesktopEntry(file.read(1 << 20));
    if (!entry.valid)
        return command;
    QStringList words = expandExecLine(entry.exec, files, entry.name, entry.icon, path);
    if (words.isEmpty())
        return command;
    command.program = words.takeFirst();
    command.arguments = words;
    if (!entry.path.isEmpty()) {
        command.workingFolder = entry.path;
    } else {
        const QString found = command.program.contains(u'/')
            ? command.program
            : QStandardPaths::findExecutable(command.program);
        command.workingFolder
            = found.isEmpty() ? QDir::homePath() : QFileInfo(found).absolutePath();
    }
    return command;
}

bool ProcessStarter::start(const LaunchCommand &command, QString *error)
{
    if (!command.isValid()) {
        if (error)
            *error = QStringLiteral("The program entry cannot be read.");
        return false;
    }
    QProcess process;
    process.setProgram(command.program);
    process.setArguments(command.arguments);
    process.setWorkingDirectory(command.workingFolder);
    process.setStandardInputFile(QProcess::nullDevice());
    if (process.startDetached())
        return true;
    if (error)
        *error = process.errorString();
    return false;
}

namespace
{
ProcessStarter defaultStarter;
ProgramStarter *currentStarter = &defaultStarter;
} // namespace

ProgramStarter &programStarter()
{
    return *currentStarter;
}

ProgramStarter *setProgramStarter(ProgramStarter *starter)
{
    ProgramStarter *previous = currentStarter;
    currentStarter = starter ? starter : &defaultStarter;
    return previous;
}

bool startLauncherProgram(const LauncherEntry &entry)
{
    QString error;
    if (programStarter().start(launchCommandFor(entry.path, {}), &error))
        return true;
    host().showMessage(LauncherMessage::kStartFailed, {}, MessageIcon::Warning);
    return false;
}

bool startLauncherProgramWithFile(const LauncherEntry &entry, const QString &file)
{
    if (entry.path.isEmpty())
        return false;
    LaunchCommand command = launchCommandFor(entry.path, { file });
    if (!isDesktopEntryPath(entry.path))
        command.workingFolder = QDir::currentPath();
    QString error;
    if (programStarter().start(command, &error))
        return true;
    host().showText(QStringLiteral("%1: %2").arg(entry.path, error), MessageIcon::Information,
        MessageButtons::Ok, 0);
    return false;
}
