#pragma once

#include "album/relink.h"

#include <QDialog>

class QTreeWidget;

namespace glimmerix
{

// The plan of Find Missing Files: each missing item with its proposed new path (ticked, can be
// unticked), the ambiguous ones with all their candidates (not tickable: never guessed) and the
// ones not found. "Relink Ticked" accepts.
class RelinkDialog : public QDialog
{
    Q_OBJECT
public:
    explicit RelinkDialog(const RelinkPlan &plan, QWidget *parent = nullptr);
    // The ticked entries (each with its one candidate).
    QList<RelinkEntry> tickedEntries() const;
    QTreeWidget *list() const { return m_list; }

private:
    QList<RelinkEntry> m_entries;
    QTreeWidget *m_list = nullptr;
};

} // namespace glimmerix
