#include "applicationname.h"

#include <QCoreApplication>

void nameApplication()
{
    QCoreApplication::setApplicationName(QStringLiteral("Glimmerix"));
    QCoreApplication::setApplicationVersion(QStringLiteral(GLIMMERIX_VERSION));
}
