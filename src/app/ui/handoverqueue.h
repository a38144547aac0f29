#pragma once

#include <QMessageBox>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <QTimer>

class QWidget;

namespace glimmerix
{

class CAlbumDoc;

// Files that other processes hand to the main window. A file is added only while the window is
// free: no modal dialog, menu or progress dialog is open and no other hand-over is being added.
// Otherwise it waits here, in arrival order, and the status pane says so; it is added as soon as
// the window is free again. So a sender is answered at once and never waits on a message box, and
// no file lands in an album that a dialog is about to close, reload or save.
//
// Adding a hand-over never opens a message box either: what the album would have said about a
// file that cannot be added is gathered into one notice, a window that blocks nothing and takes
// the texts of later hand-overs while it is open.
class HandoverQueue final : public QObject
{
    Q_OBJECT
public:
    HandoverQueue(CAlbumDoc &document, QWidget &window);

    bool isWindowFree() const;
    // Adds `path` at the end of the album now and brings the window to the front. Returns the
    // add result: 1 added, -2 already in the album, 0 not added (the notice tells why).
    int addNow(const QString &path);
    // Keeps `path` until the window is free, then adds it.
    void enqueue(const QString &path);
    QStringList pending() const { return m_pending; }
    // The notice about hand-overs that could not be added, while it is shown.
    QMessageBox *notice() const { return m_notice; }

Q_SIGNALS:
    // A hand-over was added or refused: the album now holds `itemCount` items.
    void handled(int itemCount);

private:
    void addPending();
    void tellWaiting();
    void showNotice(const QStringList &texts);

    CAlbumDoc &m_document;
    QWidget &m_window;
    QStringList m_pending;
    QTimer m_retry;
    bool m_adding = false;
    QPointer<QMessageBox> m_notice;
};

} // namespace glimmerix
