#include "disctargetdialog.h"

#include "cdout/discburner.h"

#include "platform/fillin.h"
#include "platform/paths.h"

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace glimmerix
{

DiscTargetDialog::DiscTargetDialog(
    const DiscSummary &summary, const QList<DiscWriter> &writers, QWidget *parent)
    : QDialog(parent)
    , m_imageRadio(new QRadioButton(tr("Disc &image file:"), this))
    , m_imagePath(new QLineEdit(joinPath(userFolder(), QStringLiteral("WebAlbum.iso")), this))
    , m_writerRadio(new QRadioButton(tr("&Writer:"), this))
    , m_writers(new QComboBox(this))
{
    setObjectName(QStringLiteral("discTargetDialog"));
    setWindowTitle(tr("Record the Disc"));
    auto *browse = new QPushButton(tr("&Browse..."), this);
    auto *size
        = new QLabel(fillIn(tr("The disc needs %1 MB of %2 MB."),
                         (summary.neededBytes + (1 << 20) - 1) >> 20, summary.capacityBytes >> 20),
            this);
    for (const DiscWriter &writer : writers) {
        m_writers->addItem(
            QStringLiteral("%1 %2 (%3)").arg(writer.vendor, writer.product, writer.address),
            writer.address);
    }
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *grid = new QGridLayout(this);
    grid->addWidget(size, 0, 0, 1, 3);
    grid->addWidget(m_imageRadio, 1, 0);
    grid->addWidget(m_imagePath, 1, 1);
    grid->addWidget(browse, 1, 2);
    grid->addWidget(m_writerRadio, 2, 0);
    grid->addWidget(m_writers, 2, 1, 1, 2);
    grid->addWidget(buttons, 3, 0, 1, 3);
    grid->setColumnMinimumWidth(1, 320);

    const bool haveWriters = !writers.isEmpty();
    m_writerRadio->setEnabled(haveWriters);
    m_writers->setEnabled(haveWriters);
    (haveWriters ? m_writerRadio : m_imageRadio)->setChecked(true);
    connect(browse, &QPushButton::clicked, this, &DiscTargetDialog::browse);
    connect(m_imageRadio, &QRadioButton::toggled, this, &DiscTargetDialog::updateControls);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    updateControls();
}

void DiscTargetDialog::updateControls()
{
    m_imagePath->setEnabled(m_imageRadio->isChecked());
    m_writers->setEnabled(m_writerRadio->isChecked());
}

void DiscTargetDialog::browse()
{
    const QString path = QFileDialog::getSaveFileName(
        this, windowTitle(), m_imagePath->text(), tr("Disc images (*.iso)"));
    if (!path.isEmpty())
        setImagePath(path);
}

void DiscTargetDialog::setImagePath(const QString &path)
{
    m_imagePath->setText(path);
    m_imageRadio->setChecked(true);
}

DiscTarget DiscTargetDialog::target() const
{
    if (m_imageRadio->isChecked() && !m_imagePath->text().trimmed().isEmpty())
        return { DiscTarget::Kind::ImageFile, m_imagePath->text().trimmed() };
    if (m_writerRadio->isChecked() && m_writers->currentIndex() >= 0)
        return { DiscTarget::Kind::Writer, m_writers->currentData().toString() };
    return {};
}

void installDiscTargetDialog()
{
    setDiscTargetChooser([](const DiscSummary &summary) {
        DiscTargetDialog dialog(summary, discWriters(), QApplication::activeWindow());
        return dialog.exec() == QDialog::Accepted ? dialog.target() : DiscTarget {};
    });
}

} // namespace glimmerix
