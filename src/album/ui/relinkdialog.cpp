#include "relinkdialog.h"

#include "platform/fillin.h"

#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace glimmerix
{

namespace
{

constexpr int kEntryRole = Qt::UserRole + 1;

} // namespace

RelinkDialog::RelinkDialog(const RelinkPlan &plan, QWidget *parent)
    : QDialog(parent)
    , m_entries(plan.entries)
{
    setWindowTitle(tr("Find Missing Files"));
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(
        new QLabel(fillIn(tr("%1 items have lost their files: %2 found, %3 ambiguous, "
                             "%4 not found. Untick any you do not want changed."),
                       plan.entries.size(), plan.proposed(), plan.ambiguous(), plan.notFound()),
            this));
    m_list = new QTreeWidget(this);
    m_list->setColumnCount(2);
    m_list->setHeaderLabels({ tr("Missing file"), tr("New path") });
    m_list->setTextElideMode(Qt::ElideMiddle);
    m_list->header()->setSectionResizeMode(QHeaderView::Stretch);
    for (int i = 0; i < m_entries.size(); ++i) {
        const RelinkEntry &entry = m_entries[i];
        auto *row = new QTreeWidgetItem(m_list);
        row->setText(0, entry.oldPath);
        row->setToolTip(0, entry.oldPath);
        row->setData(0, kEntryRole, i);
        if (entry.isProposal()) {
            row->setText(1, entry.candidates.first());
            row->setToolTip(1, entry.candidates.first());
            row->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
            row->setCheckState(0, Qt::Checked);
        } else if (entry.shared) {
            row->setText(
                1, tr("ambiguous: %1 fits another item too").arg(entry.candidates.first()));
            row->setFlags(Qt::ItemIsEnabled);
        } else if (entry.candidates.isEmpty()) {
            row->setText(1, tr("not found"));
            row->setFlags(Qt::ItemIsEnabled);
            row->setForeground(1, palette().brush(QPalette::Disabled, QPalette::Text));
        } else {
            row->setText(1, tr("ambiguous: %1 files").arg(entry.candidates.size()));
            row->setFlags(Qt::ItemIsEnabled);
            for (const QString &candidate : entry.candidates) {
                auto *choice = new QTreeWidgetItem(row, { QString(), candidate });
                choice->setToolTip(1, candidate);
                choice->setFlags(Qt::ItemIsEnabled);
            }
            row->setExpanded(true);
        }
    }
    layout->addWidget(m_list, 1);
    auto *buttons = new QDialogButtonBox(this);
    QPushButton *relink = buttons->addButton(tr("Relink Ticked"), QDialogButtonBox::AcceptRole);
    buttons->addButton(QDialogButtonBox::Cancel);
    relink->setEnabled(plan.proposed() > 0);
    relink->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);
    resize(760, 420);
}

QList<RelinkEntry> RelinkDialog::tickedEntries() const
{
    QList<RelinkEntry> ticked;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        const QTreeWidgetItem *row = m_list->topLevelItem(i);
        if ((row->flags() & Qt::ItemIsUserCheckable) && row->checkState(0) == Qt::Checked)
            ticked.append(m_entries[row->data(0, kEntryRole).toInt()]);
    }
    return ticked;
}

} // namespace glimmerix
