#pragma once

#include "platform/relayfile.h"

#include <QListWidget>

namespace glimmerix
{

// Stand-in for the album window until it exists: lists each file handed over by a second start
// and brings its window to the front. With GLIMMERIX_DEBUG_HANDOVER set it also prints
// "handover: <path>" on standard error, one line per file, for scripts and tests.
class ReceivedFilesList final : public QListWidget, public HandoverReceiver
{
    Q_OBJECT
public:
    explicit ReceivedFilesList(QWidget *parent = nullptr);
    void receiveHandedOverFile(const QString &path) override;

private:
    bool m_debugPrint;
};

} // namespace glimmerix
