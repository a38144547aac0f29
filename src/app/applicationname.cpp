#include "applicationname.h"

#include <QCoreApplication>

void nameApplication(const QString &version)
{
    QCoreApplication::setApplicationName(QStringLiteral("Glimmerix"));
    QCoreApplication::setApplicationVersion(version);
}
