#include "searchdialog.h"

#include "album/albumdoc.h"
#include "album/ui/albummanager.h"
#include "core/controlids.h"
#include "core/folders.h"
#include "core/messageids.h"
#include "core/resourceids.h"
#include "platform/host.h"
#include "platform/strings.h"
#include "publish/albumsearch.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace glimmerix
{

namespace
{

template<typename Widget> Widget *named(Widget *widget, int id)
{
    widget->setObjectName(QString::number(id));
    return widget;
}

// A field label as a check box's text: without its trailing ":".
QString boxText(const QStringList &labels, int index, const char *fallback)
{
    QString label = labels.value(index, QString::fromLatin1(fallback)).trimmed();
    if (label.endsWith(QLatin1Char(':')))
        label.chop(1);
    return label;
}

MessageBoxLook searchLook()
{
    return { loadString(Message::kSearchTitle) };
}

} // namespace

SearchDialog::SearchDialog(CAlbumDoc &document, AlbumListAccess &albumList,
    const QStringList &fieldLabels, QWidget *parent, std::function<void(int topic)> openHelp)
    : QDialog(parent)
    , m_document(document)
    , m_albumList(albumList)
{
    setObjectName(QString::number(Resource::kSearchDialog));
    setWindowTitle(loadString(Message::kSearchTitle));

    m_albums = named(new QListWidget(this), SearchControl::kAlbums);
    m_albums->setSelectionMode(QAbstractItemView::ExtendedSelection);
    m_target = named(new QListWidget(this), SearchControl::kTarget);
    m_text = named(new QLineEdit(this), SearchControl::kText);
    m_name = named(new QCheckBox(tr("File &name"), this), SearchControl::kName);
    m_field1
        = named(new QCheckBox(boxText(fieldLabels, 0, "Caption"), this), SearchControl::kField1);
    m_field2
        = named(new QCheckBox(boxText(fieldLabels, 1, "Keywords"), this), SearchControl::kField2);
    m_notes
        = named(new QCheckBox(boxText(fieldLabels, 2, "Description"), this), SearchControl::kNotes);
    m_matchCase = named(new QCheckBox(tr("Match &case"), this), SearchControl::kMatchCase);
    for (QCheckBox *box : { m_name, m_field1, m_field2, m_notes })
        box->setChecked(true);

    // The albums to search: every album of the list but the new, unsaved one.
    const QString untitled = CAlbumDoc::untitledName();
    const QStringList entries = albumList.albumEntries();
    for (const QString &entry : entries) {
        if (entry != untitled)
            m_albums->addItem(entry);
    }
    if (m_albums->count() > 0)
        m_albums->item(0)->setSelected(true);
    m_selectedAlbums = int(m_albums->selectedItems().size());
    m_target->addItems(entries);
    const int untitledRow = int(entries.indexOf(untitled));
    m_target->setCurrentRow(std::max(untitledRow, 0));
    connect(
        m_albums, &QListWidget::itemSelectionChanged, this, &SearchDialog::albumSelectionChanged);

    auto *lists = new QGridLayout;
    lists->addWidget(new QLabel(tr("&Search these albums:"), this), 0, 0);
    lists->addWidget(new QLabel(tr("&Put the items found in:"), this), 0, 1);
    lists->addWidget(m_albums, 1, 0);
    lists->addWidget(m_target, 1, 1);
    auto *textLabel = new QLabel(tr("&Text to find:"), this);
    textLabel->setBuddy(m_text);
    auto *fields = new QGridLayout;
    fields->addWidget(new QLabel(tr("Look in:"), this), 0, 0);
    fields->addWidget(m_name, 0, 1);
    fields->addWidget(m_field1, 0, 2);
    fields->addWidget(m_field2, 1, 1);
    fields->addWidget(m_notes, 1, 2);
    fields->addWidget(m_matchCase, 2, 1);

    auto *buttons = new QDialogButtonBox(
        QDialogButtonBox::Ok | QDialogButtonBox::Cancel | QDialogButtonBox::Help, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &SearchDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &SearchDialog::reject);
    connect(buttons, &QDialogButtonBox::helpRequested, this, [openHelp] {
        if (openHelp)
            openHelp(HelpTopic::kSearchDialog);
    });

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(lists);
    layout->addWidget(textLabel);
    layout->addWidget(m_text);
    layout->addLayout(fields);
    layout->addWidget(buttons);
    m_text->setFocus();
}

void SearchDialog::albumSelectionChanged()
{
    const int selected = int(m_albums->selectedItems().size());
    if (selected > kMaxSearchAlbums && m_selectedAlbums <= kMaxSearchAlbums) {
        host().showMessage(Message::kTooManySearchAlbums, { QString::number(kMaxSearchAlbums) },
            MessageIcon::Error, MessageButtons::Ok, searchLook());
    }
    m_selectedAlbums = selected;
}

void SearchDialog::accept()
{
    const QString folder = albumsFolder();
    const QString outside = m_albumList.outsideAlbumPath();
    SearchRequest request;
    for (int row = 0; row < m_albums->count() && request.albumPaths.size() < kMaxSearchAlbums;
         ++row) {
        if (m_albums->item(row)->isSelected())
            request.albumPaths << searchAlbumPath(m_albums->item(row)->text(), folder, outside);
    }
    request.text = m_text->text();
    if (request.text.isEmpty()) {
        host().showMessage(
            Message::kNoSearchText, {}, MessageIcon::Warning, MessageButtons::Ok, searchLook());
        return;
    }
    request.fields = { m_name->isChecked(), m_field1->isChecked(), m_field2->isChecked(),
        m_notes->isChecked(), m_matchCase->isChecked() };
    const QString target = m_target->currentItem() ? m_target->currentItem()->text() : QString();
    // The new, unsaved album has no file, so no searched album can be it.
    if (target != CAlbumDoc::untitledName())
        request.targetPath = searchAlbumPath(target, folder, outside);

    std::vector<FoundItem> found;
    {
        std::unique_ptr<Progress> progress = host().createProgress();
        progress->setTitle(loadString(Message::kSearchProgressTitle));
        progress->setRange(int(request.albumPaths.size()));
        progress->show();
        found = searchAlbums(request, progress.get());
        progress->close();
    }

    if (!m_albumList.albumEntries().contains(target)) {
        host().showMessage(Message::kSearchTargetMissing, {}, MessageIcon::Warning,
            MessageButtons::Ok, searchLook());
        return;
    }
    if (m_albumList.currentAlbumEntry() != target) {
        AlbumListChange change;
        change.succeeded = true;
        change.selectEntry = target;
        change.switchAlbum = true;
        m_albumList.applyAlbumListChange(change);
        // The switch may not happen (unsaved changes kept when the user cancelled): the items
        // found must never go into another album than the one chosen.
        if (m_albumList.currentAlbumEntry() != target)
            return;
    }
    m_added = appendFoundItems(m_document, found);
    m_document.selectNone();
    QDialog::accept();
}

void runSearchDialog(CAlbumDoc &document, AlbumListAccess &albumList,
    const QStringList &fieldLabels, QWidget *parent, std::function<void(int topic)> openHelp)
{
    SearchDialog dialog(document, albumList, fieldLabels, parent, std::move(openHelp));
    dialog.exec();
}

} // namespace glimmerix
