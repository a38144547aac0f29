#pragma once

#include "app/launcherstate.h"

#include <QIcon>
#include <QImage>
#include <QWidget>

#include <functional>

class QMimeData;

namespace glimmerix
{

class AppSettings;

// The launcher bar along the bottom of the main window: one 55 x 55 button per outside program.
// A left click starts the program, a right click opens the set-up dialog, a file dropped on a
// button starts its program with that file. The bar reports status texts through host().
class LauncherBar : public QWidget
{
    Q_OBJECT
public:
    explicit LauncherBar(QWidget *parent = nullptr);

    // Shows `programs` (laid out anew, every look normal).
    void setPrograms(const QList<LauncherEntry> &programs);
    QList<LauncherEntry> programs() const { return m_state.entries(); }
    const LauncherState &state() const { return m_state; }

    // Shows the settings' external program list and keeps it: what the set-up dialog accepts
    // replaces the list (written back at exit).
    void useSettings(AppSettings &settings);

    // Opens the set-up dialog (`preselect`: entry to select, -1 for none). On OK the programs
    // are replaced, programsChanged() is emitted and the bar repaints. True on OK.
    bool runSetup(int preselect = -1);
    // Replaces how the set-up dialog asks for a program file (tests script it).
    void setProgramChooser(std::function<QString()> chooser) { m_chooser = std::move(chooser); }

    // The main window's hover reset: drops every hover look when the cursor at `globalPos` is
    // outside the button area.
    void resetHoverIfOutside(const QPoint &globalPos);
    // The area the buttons cover, in bar coordinates.
    QRect buttonArea() const { return launcherButtonArea(m_state.count()); }

    // What a drag carries that a program can be started with: the file, or an empty text when
    // the bar does not take such data. The default takes the first local file of a URL list.
    void setDropFileReader(std::function<QString(const QMimeData *)> reader)
    {
        m_dropFileReader = std::move(reader);
    }
    // The drop handler: starts the program of the button at `pos` with `file`. False when no
    // button lies there or the start failed.
    bool dropFile(const QPoint &pos, const QString &file);

    // Wide enough for the empty bar's whole text, or for every button.
    QSize sizeHint() const override;
    QSize minimumSizeHint() const override;
    // Where the empty bar's text is drawn (cut with an ellipsis when it does not fit).
    QRect emptyTextRect() const;

Q_SIGNALS:
    // The set-up dialog ended with OK: the application's list must take these programs.
    void programsChanged(const QList<LauncherEntry> &programs);

protected:
    void paintEvent(QPaintEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void leaveEvent(QEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    bool event(QEvent *event) override;
    void dragEnterEvent(QDragEnterEvent *event) override;
    void dragMoveEvent(QDragMoveEvent *event) override;
    void dragLeaveEvent(QDragLeaveEvent *event) override;
    void dropEvent(QDropEvent *event) override;

private:
    void reloadIcons();

    LauncherState m_state;
    QList<QIcon> m_icons;
    QImage m_looks[3];
    std::function<QString()> m_chooser;
    std::function<QString(const QMimeData *)> m_dropFileReader;
};

} // namespace glimmerix
