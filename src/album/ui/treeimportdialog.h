#pragma once

#include "album/treeimport.h"

#include <QDialog>
#include <QStringList>

class QTreeWidget;

namespace glimmerix
{

// The summary at the end of a folder tree import: how many were added, already in the album, the
// same picture under another path and unreadable (with causes). The files of the last two groups
// can be ticked: "Add Ticked" then adds them anyway, "Skip" leaves them out.
class TreeImportDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TreeImportDialog(const TreeImportOutcome &outcome, QWidget *parent = nullptr);
    // The ticked files, in the order listed.
    QStringList tickedPaths() const;
    QTreeWidget *list() const { return m_list; }

private:
    QTreeWidget *m_list = nullptr;
};

} // namespace glimmerix
