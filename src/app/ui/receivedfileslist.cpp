#include "receivedfileslist.h"

#include <cstdio>

namespace glimmerix
{

ReceivedFilesList::ReceivedFilesList(QWidget *parent)
    : QListWidget(parent)
    , m_debugPrint(qEnvironmentVariableIsSet("GLIMMERIX_DEBUG_HANDOVER"))
{
}

void ReceivedFilesList::receiveHandedOverFile(const QString &path)
{
    addItem(path);
    if (m_debugPrint) {
        std::fprintf(stderr, "handover: %s\n", path.toUtf8().constData());
        std::fflush(stderr);
    }
    QWidget *frame = window();
    if (frame->isMinimized())
        frame->showNormal();
    frame->raise();
    frame->activateWindow();
}

} // namespace glimmerix
