#pragma once

#include <QDialog>
#include <QStringList>

#include <functional>

class QCheckBox;
class QLineEdit;
class QListWidget;

namespace glimmerix
{

class AlbumListAccess;
class CAlbumDoc;

// The album search dialog: which albums to search, the album that receives what is found, the
// text and where to look for it. OK searches, switches the main window to the target album and
// appends the items found; the dialog stays open when the target album has gone from the list.
class SearchDialog : public QDialog
{
    Q_OBJECT
public:
    // `fieldLabels` are the album's three text field labels (first, second, notes).
    SearchDialog(CAlbumDoc &document, AlbumListAccess &albumList, const QStringList &fieldLabels,
        QWidget *parent = nullptr, std::function<void(int topic)> openHelp = {});

    // Items the last search added to the target album.
    int addedCount() const { return m_added; }

    void accept() override;

private:
    void albumSelectionChanged();

    CAlbumDoc &m_document;
    AlbumListAccess &m_albumList;
    QListWidget *m_albums = nullptr;
    QListWidget *m_target = nullptr;
    QLineEdit *m_text = nullptr;
    QCheckBox *m_name = nullptr;
    QCheckBox *m_field1 = nullptr;
    QCheckBox *m_field2 = nullptr;
    QCheckBox *m_notes = nullptr;
    QCheckBox *m_matchCase = nullptr;
    int m_selectedAlbums = 0;
    int m_added = 0;
};

// Runs the search dialog over the main window's album list.
void runSearchDialog(CAlbumDoc &document, AlbumListAccess &albumList,
    const QStringList &fieldLabels, QWidget *parent, std::function<void(int topic)> openHelp);

} // namespace glimmerix
