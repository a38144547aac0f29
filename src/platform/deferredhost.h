#pragma once

#include "platform/host.h"

#include <QList>
#include <QString>

namespace glimmerix
{

// The host of a worker thread: it records the message boxes the work would show, answering each
// with its default button, and shows nothing itself. The thread that owns the windows replays
// them later, in the order of the work, so a batch run on several threads tells the user the
// same things in the same order as one run item by item. Escape reads as not pressed, status
// texts are dropped and progress is silent: the calling thread reports progress for the batch.
class DeferredHost final : public Host
{
public:
    std::unique_ptr<Progress> createProgress() override;
    bool escapePressed() override { return false; }
    void setWaitCursor(bool) override { }
    void setStatusText(int, const QString &) override { }
    QString askSaveFileName(const SaveFileQuestion &) override { return {}; }

    bool isEmpty() const { return m_boxes.isEmpty(); }
    // Shows the recorded boxes through `target` and forgets them.
    void replay(Host &target);
    void clear() { m_boxes.clear(); }

protected:
    MessageAnswer showBox(const QString &text, MessageIcon icon, MessageButtons buttons,
        int messageId, const MessageBoxLook &look) override;

private:
    struct Box {
        QString text;
        MessageIcon icon;
        MessageButtons buttons;
        int messageId;
        MessageBoxLook look;
    };
    QList<Box> m_boxes;
};

} // namespace glimmerix
