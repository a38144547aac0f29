#pragma once

#include "platform/host.h"

#include <QList>
#include <QString>

#include <atomic>

namespace glimmerix
{

// The host of a worker thread: it records the message boxes the work would show, answering each
// with its default button, and shows nothing itself. The thread that owns the windows replays
// them later, in the order of the work, so a batch run on several threads tells the user the
// same things in the same order as one run item by item. Escape reads as pressed once `stop`
// (when given) is set, so a long picture read ends soon after the batch was cancelled; status
// texts are dropped and progress is silent: the calling thread reports progress for the batch.
class DeferredHost final : public Host
{
public:
    explicit DeferredHost(const std::atomic<bool> *stop = nullptr)
        : m_stop(stop)
    {
    }
    std::unique_ptr<Progress> createProgress() override;
    bool escapePressed() override { return m_stop && m_stop->load(std::memory_order_relaxed); }
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
    const std::atomic<bool> *m_stop;
    QList<Box> m_boxes;
};

} // namespace glimmerix
