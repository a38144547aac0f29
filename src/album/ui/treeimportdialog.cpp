#include "treeimportdialog.h"

#include "platform/fillin.h"

#include <QDialogButtonBox>
#include <QFileInfo>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace glimmerix
{

namespace
{

QTreeWidgetItem *addGroup(QTreeWidget *list, const QString &title, int count)
{
    auto *group = new QTreeWidgetItem(list, { fillIn(QStringLiteral("%1 (%2)"), title, count) });
    group->setFlags(Qt::ItemIsEnabled);
    group->setExpanded(true);
    return group;
}

// A file row; only a file that is there can be ticked (a folder or link problem cannot be added).
void addFileRow(QTreeWidgetItem *group, const QString &path, const QString &note)
{
    auto *row = new QTreeWidgetItem(group, { path, note });
    row->setToolTip(0, path);
    if (QFileInfo(path).isFile()) {
        row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        row->setCheckState(0, Qt::Unchecked);
    } else {
        row->setFlags(Qt::ItemIsEnabled);
    }
}

} // namespace

TreeImportDialog::TreeImportDialog(const TreeImportOutcome &outcome, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Folder Added"));
    auto *layout = new QVBoxLayout(this);
    const AddFilesOutcome &files = outcome.files;
    QString counts
        = fillIn(tr("Added: %1\nAlready in the album: %2\nThe same picture under another "
                    "path: %3\nCould not be read: %4"),
            files.added, files.duplicates, outcome.sameContent.size(), files.failed);
    if (files.cancelled)
        counts += tr("\nCancelled: the files added before stay in the album.");
    layout->addWidget(new QLabel(counts, this));

    m_list = new QTreeWidget(this);
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({ tr("File"), tr("Why it was not added") });
    m_list->header()->setSectionResizeMode(0, QHeaderView::Stretch);
    m_list->setRootIsDecorated(true);
    m_list->setTextElideMode(Qt::ElideMiddle);
    if (!outcome.sameContent.isEmpty()) {
        QTreeWidgetItem *group = addGroup(
            m_list, tr("The same picture under another path"), int(outcome.sameContent.size()));
        for (const SameContentFile &same : outcome.sameContent)
            addFileRow(group, same.path, tr("same as %1").arg(same.sameAs));
    }
    if (!files.skipped.isEmpty()) {
        QTreeWidgetItem *group
            = addGroup(m_list, tr("Could not be read"), int(files.skipped.size()));
        for (const SkippedFile &skipped : files.skipped)
            addFileRow(group, skipped.path, skipped.problem);
    }
    const bool listed = m_list->topLevelItemCount() > 0;
    m_list->setVisible(listed);
    layout->addWidget(m_list, 1);

    auto *buttons = new QDialogButtonBox(this);
    QPushButton *add = buttons->addButton(tr("Add Ticked"), QDialogButtonBox::AcceptRole);
    QPushButton *skip
        = buttons->addButton(listed ? tr("Skip") : tr("Close"), QDialogButtonBox::RejectRole);
    add->setVisible(listed);
    skip->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(640, listed ? 420 : 160);
}

QStringList TreeImportDialog::tickedPaths() const
{
    QStringList paths;
    for (int g = 0; g < m_list->topLevelItemCount(); ++g) {
        const QTreeWidgetItem *group = m_list->topLevelItem(g);
        for (int i = 0; i < group->childCount(); ++i) {
            if (group->child(i)->checkState(0) == Qt::Checked)
                paths.append(group->child(i)->text(0));
        }
    }
    return paths;
}

} // namespace glimmerix
