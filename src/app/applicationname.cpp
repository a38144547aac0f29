#include "applicationname.h"

#include <QCoreApplication>

namespace glimmerix
{

void nameApplication(const QString &version)
{
    QCoreApplication::setApplicationName(QStringLiteral("Glimmerix"));
    QCoreApplication::setApplicationVersion(version);
}

} // namespace glimmerix
