#include "sortdialog.h"

#include "album/albumdoc.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QRadioButton>
#include <QVBoxLayout>

#include <iterator>
#include <utility>

namespace glimmerix
{

namespace
{

// The names of direction 0 and 1 for sort key `key`.
std::pair<QString, QString> directionNames(int key)
{
    switch (SortKey(key)) {
    case SortKey::FileSize:
        return { SortDialog::tr("Smallest first"), SortDialog::tr("Largest first") };
    case SortKey::FileTime:
    case SortKey::DateTaken:
        return { SortDialog::tr("Newest first"), SortDialog::tr("Oldest first") };
    case SortKey::FileName:
    case SortKey::Extension:
    case SortKey::Description:
        break;
    }
    return { SortDialog::tr("A to Z"), SortDialog::tr("Z to A") };
}

} // namespace

SortDialog::SortDialog(QWidget *parent)
    : QDialog(parent)
    , m_keys(new QButtonGroup(this))
{
    setObjectName(QStringLiteral("sortDialog"));
    setWindowTitle(tr("Sort Album"));
    auto *keys = new QGroupBox(tr("Sort by"), this);
    auto *keyLayout = new QVBoxLayout(keys);
    const QString keyNames[] = { tr("File name"), tr("File type"), tr("File size"), tr("Date"),
        tr("Description"), tr("Date taken") };
    for (int key = 0; key < int(std::size(keyNames)); ++key) {
        auto *button = new QRadioButton(keyNames[key], keys);
        button->setObjectName(QStringLiteral("key%1").arg(key));
        m_keys->addButton(button, key);
        keyLayout->addWidget(button);
    }
    m_keys->button(0)->setChecked(true);
    auto *order = new QGroupBox(tr("Order"), this);
    auto *orderLayout = new QVBoxLayout(order);
    auto *orderGroup = new QButtonGroup(this);
    m_natural = new QRadioButton(order);
    m_reversed = new QRadioButton(order);
    m_natural->setObjectName(QStringLiteral("direction0"));
    m_reversed->setObjectName(QStringLiteral("direction1"));
    orderGroup->addButton(m_natural, 0);
    orderGroup->addButton(m_reversed, 1);
    orderLayout->addWidget(m_natural);
    orderLayout->addWidget(m_reversed);
    m_natural->setChecked(true);
    nameDirections();
    connect(m_keys, &QButtonGroup::idToggled, this, [this](int, bool on) {
        if (on)
            nameDirections();
    });

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *groups = new QHBoxLayout;
    groups->addWidget(keys);
    groups->addWidget(order);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(groups);
    layout->addWidget(buttons);
}

void SortDialog::nameDirections()
{
    const auto [natural, reversed] = directionNames(m_keys->checkedId());
    m_natural->setText(natural);
    m_reversed->setText(reversed);
}

SortChoice SortDialog::choice() const
{
    return { m_keys->checkedId(), m_reversed->isChecked() ? 1 : 0 };
}

std::optional<SortChoice> askSortOrder(QWidget *parent)
{
    SortDialog dialog(parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.choice();
}

} // namespace glimmerix
