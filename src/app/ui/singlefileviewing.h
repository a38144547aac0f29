#pragma once

#include "app/singlefileticks.h"

#include <QObject>
#include <QString>
#include <QTimer>

namespace glimmerix
{

class CMainFrame;

// Single-file viewing: the program started on one file (`glimix --embedding FILE`) to show it
// rather than to manage albums. The main window's album becomes a private album holding that one
// file, the window itself takes its compact form (the item toolbar, a size grip, files dropped on
// it become the item) and stays hidden while the item is on show: a picture in the picture window,
// anything else in the desktop's application for it, after which the program ends. Once the
// picture window is closed the compact window shows the item, so it can still be copied, dragged,
// printed or opened again; closing that window ends the program.
class SingleFileViewing final : public QObject
{
    Q_OBJECT
public:
    explicit SingleFileViewing(CMainFrame &frame);

    // Puts `file` in the album (an album file is taken as the stored album, whose first item is
    // shown) and starts the 30 ms tick. An empty `file` asks for one when the tick comes to it.
    void start(const QString &file);

    // Shows the album's first item once: the first call after start does it, later calls do
    // nothing. An empty album asks for a file first; declining shows the compact window.
    void openItem();

    // The program ends at the next tick (an item went to another application).
    bool exitRequested() const { return m_exitRequested; }
    int tickCounter() const { return m_ticks.counter(); }

    // The compact form of the main window: album list off, no minimum size, the item toolbar
    // (cut, copy, paste) and a size grip. Public so the look can be checked without a file.
    static void dressAsCompactFrame(CMainFrame &frame);

Q_SIGNALS:
    // The program is about to end (the exit command was posted).
    void ending();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void onTick();
    void hideFrame();
    void endProgram();
    void showItem(int index);
    bool askForFile();

    CMainFrame &m_frame;
    SingleFileTicks m_ticks;
    QTimer m_timer;
    bool m_exitRequested = false;
    bool m_itemOpened = false; // the once-only open of the first item has happened
    bool m_hiddenForItem = true; // the frame is out of sight because the item is on show
    bool m_asking = false;
    bool m_ending = false;
    bool m_closed = false; // the main window accepted its close: the program ends
};

} // namespace glimmerix
