#include "albummanagedialogs.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileDialog>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace glimmerix
{

AlbumNameDialog::AlbumNameDialog(
    const QString &title, const QStringList &entries, const QString &proposed, QWidget *parent)
    : QDialog(parent)
    , m_entries(entries)
{
    setWindowTitle(title);
    m_name = new QLineEdit(albumEntryName(proposed), this);
    m_name->selectAll();
    m_buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *form = new QFormLayout;
    form->addRow(tr("Album name:"), m_name);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(m_buttons);
    connect(m_name, &QLineEdit::textChanged, this, &AlbumNameDialog::updateButtons);
    connect(m_buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(m_buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateButtons();
}

QString AlbumNameDialog::albumName() const
{
    return albumEntryName(m_name->text()) + QLatin1String(kAlbumExtension);
}

bool AlbumNameDialog::nameIsEntry() const
{
    return m_entries.contains(albumEntryName(m_name->text()));
}

void AlbumNameDialog::updateButtons()
{
    m_buttons->button(QDialogButtonBox::Ok)->setEnabled(isValidAlbumName(m_name->text()));
}

AlbumRemoveDialog::AlbumRemoveDialog(const QString &title, const QString &question, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    m_deleteMedia = new QCheckBox(tr("Also delete the media files from the disk"), this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(question, this));
    layout->addWidget(m_deleteMedia);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
}

bool AlbumRemoveDialog::deleteMedia() const
{
    return m_deleteMedia->isChecked();
}

AlbumPropertiesDialog::AlbumPropertiesDialog(const AlbumProperties &properties, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(tr("Album Properties"));
    auto *form = new QFormLayout;
    auto addRow = [this, form](const QString &label, const QString &value) {
        auto *text = new QLabel(value, this);
        text->setTextInteractionFlags(Qt::TextSelectableByMouse);
        form->addRow(label, text);
    };
    addRow(tr("Album file:"), QDir::toNativeSeparators(properties.path));
    addRow(tr("File size:"), properties.fileSizeText());
    addRow(tr("Items:"), properties.itemCountText());
    addRow(tr("Caption:"), properties.caption);
    addRow(tr("Media files:"), properties.mediaBytesText());
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok, this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
}

CopyFilesDialog::CopyFilesDialog(const QString &title, const QString &folder, QWidget *parent)
    : QDialog(parent)
{
    setWindowTitle(title);
    m_folder = new QLineEdit(folder, this);
    auto *browse = new QPushButton(tr("&Browse..."), this);
    m_move = new QCheckBox(tr("&Move the files instead of copying them"), this);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *row = new QHBoxLayout;
    row->addWidget(m_folder);
    row->addWidget(browse);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(new QLabel(tr("Destination folder:"), this));
    layout->addLayout(row);
    layout->addWidget(m_move);
    layout->addWidget(buttons);
    connect(browse, &QPushButton::clicked, this, [this] {
        const QString chosen
            = QFileDialog::getExistingDirectory(this, windowTitle(), m_folder->text());
        if (!chosen.isEmpty())
            m_folder->setText(chosen);
    });
    auto updateOk = [this, buttons] {
        buttons->button(QDialogButtonBox::Ok)->setEnabled(!m_folder->text().trimmed().isEmpty());
    };
    connect(m_folder, &QLineEdit::textChanged, this, updateOk);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateOk();
}

QString CopyFilesDialog::folder() const
{
    return QDir::cleanPath(m_folder->text().trimmed());
}

bool CopyFilesDialog::move() const
{
    return m_move->isChecked();
}

} // namespace glimmerix
