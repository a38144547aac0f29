#include "handoverqueue.h"

#include "album/albumdoc.h"
#include "album/albumundo.h"
#include "app/ui/progressdlg.h"
#include "platform/host.h"

#include <QApplication>
#include <QFileInfo>
#include <QMessageBox>

#include <algorithm>

namespace glimmerix
{

namespace
{

// How often a waiting hand-over looks whether the window has become free.
constexpr int kRetryMs = 200;

// Passes everything on to the host in force except messages, which it keeps.
class GatheringHost final : public Host
{
public:
    explicit GatheringHost(Host &inner)
        : m_inner(inner)
    {
    }
    std::unique_ptr<Progress> createProgress() override { return m_inner.createProgress(); }
    bool escapePressed() override { return m_inner.escapePressed(); }
    void setWaitCursor(bool on) override { m_inner.setWaitCursor(on); }
    void setStatusText(int pane, const QString &text) override
    {
        m_inner.setStatusText(pane, text);
    }
    QString askSaveFileName(const SaveFileQuestion &question) override
    {
        return m_inner.askSaveFileName(question);
    }

    QStringList texts;

protected:
    MessageAnswer showBox(const QString &text, MessageIcon, MessageButtons buttons, int,
        const MessageBoxLook &look) override
    {
        texts.append(text);
        return defaultAnswer(buttons, look);
    }

private:
    Host &m_inner;
};

bool progressDialogShown()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    return std::any_of(windows.cbegin(), windows.cend(), [](const QWidget *window) {
        return window->isVisible() && qobject_cast<const CProgressDlg *>(window);
    });
}

} // namespace

HandoverQueue::HandoverQueue(CAlbumDoc &document, QWidget &window)
    : QObject(&window)
    , m_document(document)
    , m_window(window)
{
    m_retry.setInterval(kRetryMs);
    connect(&m_retry, &QTimer::timeout, this, &HandoverQueue::addPending);
}

bool HandoverQueue::isWindowFree() const
{
    return !m_adding && !QApplication::activeModalWidget() && !QApplication::activePopupWidget()
        && !progressDialogShown();
}

int HandoverQueue::addNow(const QString &path)
{
    m_adding = true;
    GatheringHost gathering(host());
    Host *previous = setHost(&gathering);
    int result = 0;
    const AlbumOrderProbe probe(m_document);
    {
        const CAlbumDoc::ChangeBatch batch(m_document);
        result = m_document.addFile(path, -1);
    }
    pushRecordedChange(m_document, probe, QApplication::translate("CMainFrame", "Add Files"));
    setHost(previous);
    m_adding = false;

    if (m_window.isMinimized())
        m_window.showNormal();
    m_window.raise();
    m_window.activateWindow();
    if (!gathering.texts.isEmpty()) {
        // The album's messages do not always name the file; the notice does.
        QStringList texts;
        for (const QString &text : std::as_const(gathering.texts))
            texts.append(QStringLiteral("%1: %2").arg(QFileInfo(path).fileName(), text));
        showNotice(texts);
    }
    Q_EMIT handled(m_document.itemCount());
    return result;
}

void HandoverQueue::enqueue(const QString &path)
{
    m_pending.append(path);
    tellWaiting();
    // A first try at once: a file handed over while the window is free is added straight away.
    m_retry.start(0);
}

void HandoverQueue::addPending()
{
    if (!isWindowFree()) {
        m_retry.start(kRetryMs);
        tellWaiting();
        return;
    }
    m_retry.stop();
    while (!m_pending.isEmpty() && isWindowFree())
        addNow(m_pending.takeFirst());
    if (!m_pending.isEmpty()) {
        m_retry.start(kRetryMs);
        return;
    }
    host().setStatusText(0, QString());
}

void HandoverQueue::tellWaiting()
{
    host().setStatusText(0,
        tr("%n file(s) handed over will be added when the open dialog is closed", nullptr,
            int(m_pending.size())));
}

void HandoverQueue::showNotice(const QStringList &texts)
{
    if (!m_notice) {
        m_notice = new QMessageBox(QMessageBox::Warning, QApplication::applicationName(),
            tr("Files handed to the album could not be added:"), QMessageBox::Ok, &m_window);
        m_notice->setObjectName(QStringLiteral("handoverNotice"));
        m_notice->setAttribute(Qt::WA_DeleteOnClose);
        // A notice, not a question: nothing waits for it to be closed.
        m_notice->setWindowModality(Qt::NonModal);
    }
    const QString shown = m_notice->informativeText();
    m_notice->setInformativeText(
        ((shown.isEmpty() ? QStringList() : QStringList { shown }) + texts).join(u'\n'));
    m_notice->show();
}

} // namespace glimmerix
