#include "viewdialogs.h"

#include "album/albumformat.h"
#include "album/albumitem.h"
#include "core/messageids.h"
#include "imaging/picturefacts.h"
#include "media/clipfacts.h"
#include "platform/strings.h"

#include <QCheckBox>
#include <QDateTime>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFileInfo>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QVBoxLayout>

namespace glimmerix
{

namespace
{

QDialogButtonBox *okCancel(QDialog *dialog)
{
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
    return buttons;
}

} // namespace

std::optional<bool> askRemoveItems(QWidget *parent, int count)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("removeDialog"));
    dialog.setWindowTitle(QObject::tr("Remove Items"));
    auto *layout = new QVBoxLayout(&dialog);
    layout->addWidget(new QLabel(
        QObject::tr("Remove the %n selected item(s) from the album?", nullptr, count), &dialog));
    auto *deleteFiles = new QCheckBox(QObject::tr("Also delete the files from the disk"), &dialog);
    deleteFiles->setObjectName(QStringLiteral("deleteFiles"));
    layout->addWidget(deleteFiles);
    layout->addWidget(okCancel(&dialog));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return deleteFiles->isChecked();
}

std::optional<QStringList> askFieldLabels(QWidget *parent, const QStringList &labels)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("fieldLabelsDialog"));
    dialog.setWindowTitle(QObject::tr("Field Labels"));
    auto *form = new QFormLayout(&dialog);
    QLineEdit *edits[3];
    for (int row = 0; row < 3; ++row) {
        edits[row] = new QLineEdit(&dialog);
        edits[row]->setObjectName(QStringLiteral("label%1").arg(row));
        edits[row]->setMaxLength(29);
        edits[row]->setPlaceholderText(labels.value(row));
        form->addRow(labels.value(row), edits[row]);
    }
    form->addRow(okCancel(&dialog));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return QStringList { edits[0]->text(), edits[1]->text(), edits[2]->text() };
}

QString itemFileTimeText(const QString &path)
{
    const QFileInfo file(path);
    if (!file.exists())
        return {};
    const QDateTime time = file.lastModified().toLocalTime();
    const QLocale locale = QLocale::system();
    const int hour = time.time().hour() % 12 == 0 ? 12 : time.time().hour() % 12;
    return locale.toString(time.date(), QStringLiteral("dddd, MMMM dd, yyyy")) + QLatin1Char('\n')
        + formatString(Message::kTimeFormat,
            { QString::number(hour), QString::number(time.time().minute()),
                QString::number(time.time().second()) });
}

namespace
{

// What the picture file says about itself: date taken and camera facts, the position as a link
// that opens a map in the browser.
void addPictureFactRows(QFormLayout &form, const PictureFacts &facts)
{
    QWidget *parent = form.parentWidget();
    for (const FactLine &line : pictureFactLines(facts)) {
        auto *value = new QLabel(parent);
        value->setTextInteractionFlags(Qt::TextBrowserInteraction);
        if (line.label == QLatin1String("position") && facts.position) {
            value->setObjectName(QStringLiteral("mapLink"));
            value->setTextFormat(Qt::RichText);
            value->setText(
                QStringLiteral("<a href=\"%1\">%2</a>")
                    .arg(mapAddress(*facts.position).toHtmlEscaped(), line.value.toHtmlEscaped()));
            value->setOpenExternalLinks(true);
        } else {
            value->setTextFormat(Qt::PlainText);
            value->setText(line.value);
        }
        form.addRow(line.label.left(1).toUpper() + line.label.mid(1) + QLatin1Char(':'), value);
    }
}

} // namespace

std::optional<QString> askItemProperties(QWidget *parent, const AlbumItem &item)
{
    QDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("itemPropertiesDialog"));
    dialog.setWindowTitle(QObject::tr("Item Properties"));
    dialog.setMinimumWidth(420);
    auto *form = new QFormLayout(&dialog);
    auto *path = new QLineEdit(item.path(), &dialog);
    path->setObjectName(QStringLiteral("path"));
    form->addRow(QObject::tr("File:"), path);
    form->addRow(QObject::tr("Attached sound:"), new QLabel(item.attachmentPath(), &dialog));
    form->addRow(
        QObject::tr("Modified:"), new QLabel(itemFileTimeText(item.absolutePath()), &dialog));
    if (const ItemInfo *info = item.info()) {
        form->addRow(QObject::tr("Height:"),
            new QLabel(
                formatString(Message::kPixelsFormat, { QString::number(info->sourceHeight) }),
                &dialog));
        form->addRow(QObject::tr("Width:"),
            new QLabel(formatString(Message::kPixelsFormat, { QString::number(info->sourceWidth) }),
                &dialog));
        form->addRow(QObject::tr("File size:"),
            new QLabel(
                formatString(Message::kByteCount, { QString::number(info->fileSize) }), &dialog));
        addPictureFactRows(*form, readMediaFacts(item.absolutePath()));
    }
    form->addRow(okCancel(&dialog));
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return path->text();
}

} // namespace glimmerix
