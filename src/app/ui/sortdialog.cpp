#include "sortdialog.h"

#include <QButtonGroup>
#include <QDialog>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

std::optional<SortChoice> askSortOrder(QWidget *parent)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("sortDialog"));
    dialog.setWindowTitle(QObject::tr("Sort Album"));
    auto *keys = new QGroupBox(QObject::tr("Sort by"), &dialog);
    auto *keyLayout = new QVBoxLayout(keys);
    auto *keyGroup = new QButtonGroup(&dialog);
    const QString keyNames[] = { QObject::tr("File name"), QObject::tr("File type"),
        QObject::tr("File size"), QObject::tr("Date"), QObject::tr("Description") };
    for (int key = 0; key < 5; ++key) {
        auto *button = new QRadioButton(keyNames[key], keys);
        button->setObjectName(QStringLiteral("key%1").arg(key));
        keyGroup->addButton(button, key);
        keyLayout->addWidget(button);
    }
    keyGroup->button(0)->setChecked(true);
    auto *order = new QGroupBox(QObject::tr("Order"), &dialog);
    auto *orderLayout = new QVBoxLayout(order);
    auto *orderGroup = new QButtonGroup(&dialog);
    auto *natural = new QRadioButton(QObject::tr("Ascending (dates: newest first)"), order);
    auto *reversed = new QRadioButton(QObject::tr("Descending (dates: oldest first)"), order);
    natural->setObjectName(QStringLiteral("direction0"));
    reversed->setObjectName(QStringLiteral("direction1"));
    orderGroup->addButton(natural, 0);
    orderGroup->addButton(reversed, 1);
    orderLayout->addWidget(natural);
    orderLayout->addWidget(reversed);
    natural->setChecked(true);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    auto *groups = new QHBoxLayout;
    groups->addWidget(keys);
    groups->addWidget(order);
    auto *layout = new QVBoxLayout(&dialog);
    layout->addLayout(groups);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return SortChoice { keyGroup->checkedId(), orderGroup->checkedId() };
}
