#pragma once

#include "escapekeywatcher.h"
#include "platform/host.h"

#include <functional>

class QWidget;

namespace glimmerix
{

// Host for the desktop program: Qt message boxes and the progress dialog centred over the main
// window, the Escape watcher, the wait cursor, and the main window's status pane. Create it after
// the application object.
class GuiHost final : public Host
{
public:
    // The window that dialogs centre over and whose status bar shows pane texts (may be null).
    void setMainWindow(QWidget *window) { m_mainWindow = window; }
    QWidget *mainWindow() const { return m_mainWindow; }
    // Called with (pane, text) by setStatusText; the main frame connects its status bar here.
    void setStatusSink(std::function<void(int, const QString &)> sink)
    {
        m_statusSink = std::move(sink);
    }

    std::unique_ptr<Progress> createProgress() override;
    bool escapePressed() override;
    void setWaitCursor(bool on) override;
    void setStatusText(int pane, const QString &text) override;
    QString askSaveFileName(const SaveFileQuestion &question) override;
    QStringList askOpenFileNames(const OpenFileQuestion &question) override;

protected:
    MessageAnswer showBox(const QString &text, MessageIcon icon, MessageButtons buttons,
        int messageId, const MessageBoxLook &look) override;

private:
    QWidget *m_mainWindow = nullptr;
    std::function<void(int, const QString &)> m_statusSink;
    EscapeKeyWatcher m_escapeWatcher;
};

} // namespace glimmerix
