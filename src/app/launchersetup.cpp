#include "launchersetup.h"

#include "platform/host.h"
#include "platform/textlimits.h"

#include <QFileInfo>

namespace glimmerix
{

LauncherSetupModel::LauncherSetupModel(
    const QList<LauncherEntry> &programs, const QString &preselectLabel)
    : m_entries(programs)
{
    if (m_entries.isEmpty())
        return;
    m_selected = 0;
    if (preselectLabel.isEmpty())
        return;
    for (int index = 0; index < count(); ++index) {
        if (m_entries[index].label == preselectLabel) {
            m_selected = index;
            break;
        }
    }
}

const LauncherEntry *LauncherSetupModel::selectedEntry() const
{
    return hasSelection() ? &m_entries[m_selected] : nullptr;
}

QString LauncherSetupModel::itemText(const LauncherEntry &entry)
{
    if (!entry.label.isEmpty())
        return entry.label;
    return QFileInfo(entry.path).completeBaseName();
}

void LauncherSetupModel::select(int index, const QString &labelField)
{
    if (hasSelection())
        m_entries[m_selected].label = labelField;
    if (index >= 0 && index < count())
        m_selected = index;
}

LauncherSetupModel::ChooseResult LauncherSetupModel::check(const QString &path, int ignoring) const
{
    if (path.isEmpty())
        return ChooseResult::Cancelled;
    for (int index = 0; index < count(); ++index) {
        if (index != ignoring && m_entries[index].path == path) {
            host().showMessage(Message::kAlreadyListed);
            return ChooseResult::AlreadyListed;
        }
    }
    if (!pathFitsField(path)) {
        host().showMessage(Message::kPathTooLong, { path });
        return ChooseResult::TooLong;
    }
    if (!QFileInfo(path).isFile()) {
        host().showMessage(Message::kFileMissing, { path });
        return ChooseResult::Missing;
    }
    return ChooseResult::Done;
}

LauncherSetupModel::ChooseResult LauncherSetupModel::add(const QString &path)
{
    const ChooseResult result = check(path, -1);
    if (result != ChooseResult::Done)
        return result;
    m_entries.append({ path, QString(), ButtonRect() });
    m_selected = count() - 1;
    return result;
}

LauncherSetupModel::ChooseResult LauncherSetupModel::change(const QString &path)
{
    if (!hasSelection())
        return ChooseResult::Cancelled;
    // Choosing the program the entry already has is no duplicate of itself.
    const ChooseResult result = check(path, m_selected);
    if (result != ChooseResult::Done)
        return result;
    m_entries[m_selected].path = path;
    m_entries[m_selected].label.clear();
    return result;
}

void LauncherSetupModel::remove()
{
    if (!hasSelection())
        return;
    m_entries.removeAt(m_selected);
    if (m_entries.isEmpty())
        m_selected = -1;
    else if (m_selected >= count())
        m_selected = count() - 1;
}

QList<LauncherEntry> LauncherSetupModel::accept(const QString &labelField)
{
    if (hasSelection())
        m_entries[m_selected].label = labelField;
    QList<LauncherEntry> programs = m_entries;
    for (int index = 0; index < int(programs.size()); ++index) {
        LauncherEntry &entry = programs[index];
        if (entry.label.trimmed().isEmpty())
            entry.label = QFileInfo(entry.path).completeBaseName();
        entry.rect = launcherButtonRect(index);
    }
    return programs;
}

QSize launcherSetupListSize(const QString &languageName, int count)
{
    const bool korean = languageName == QLatin1String("Korean");
    const int width = korean ? 350 : 300;
    const int oneRow = korean ? 7 : 6;
    return { width, count < oneRow ? 50 : 70 };
}

} // namespace glimmerix
