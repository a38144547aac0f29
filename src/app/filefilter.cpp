#include "filefilter.h"

#include <QStringList>

namespace glimmerix
{

QString qtFileFilter(const QString &pipeFilter)
{
    const QStringList parts = pipeFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        const QString name = parts[i].trimmed();
        const QString patterns = parts[i + 1].trimmed();
        if (name.isEmpty() || patterns.isEmpty())
            continue;
        QStringList globs = patterns.split(QLatin1Char(';'), Qt::SkipEmptyParts);
        for (QString &glob : globs) {
            glob = glob.trimmed();
            // "*.*" means every file on Linux too, where names need not have a dot.
            if (glob == QLatin1String("*.*"))
                glob = QStringLiteral("*");
        }
        const QString shown = name.contains(QLatin1Char('('))
            ? name.left(name.indexOf(QLatin1Char('('))).trimmed()
            : name;
        filters.append(QStringLiteral("%1 (%2)").arg(shown, globs.join(QLatin1Char(' '))));
    }
    return filters.join(QStringLiteral(";;"));
}

} // namespace glimmerix
