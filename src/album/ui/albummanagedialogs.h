#pragma once

#include "album/albummanagement.h"

#include <QDialog>
#include <QStringList>

class QCheckBox;
class QComboBox;
class QDialogButtonBox;
class QLineEdit;

namespace glimmerix
{

// The dialogs of the album management commands. Each collects input into plain values; the
// work is done by the functions of albummanagement.h.

// Asks for an album name (Rename, Copy). The name comes back with ".gmx"; nameIsEntry() tells
// that it is already in the album list. OK stays disabled while the name cannot name a file.
class AlbumNameDialog : public QDialog
{
    Q_OBJECT
public:
    AlbumNameDialog(const QString &title, const QStringList &entries, const QString &proposed,
        QWidget *parent = nullptr);
    QString albumName() const;
    bool nameIsEntry() const;
    QLineEdit *nameField() const { return m_name; }

private:
    void updateButtons();

    QStringList m_entries;
    QLineEdit *m_name = nullptr;
    QDialogButtonBox *m_buttons = nullptr;
};

// Confirms a removal, with the choice to delete the media files as well.
class AlbumRemoveDialog : public QDialog
{
    Q_OBJECT
public:
    AlbumRemoveDialog(const QString &title, const QString &question, QWidget *parent = nullptr);
    bool deleteMedia() const;
    QCheckBox *deleteMediaBox() const { return m_deleteMedia; }

private:
    QCheckBox *m_deleteMedia = nullptr;
};

// Shows an album's path, file size, item count, caption and media bytes.
class AlbumPropertiesDialog : public QDialog
{
    Q_OBJECT
public:
    explicit AlbumPropertiesDialog(const AlbumProperties &properties, QWidget *parent = nullptr);
};

// Asks for the folder to copy an album's files to, and whether to move them instead.
class CopyFilesDialog : public QDialog
{
    Q_OBJECT
public:
    CopyFilesDialog(const QString &title, const QString &folder, QWidget *parent = nullptr);
    QString folder() const;
    bool move() const;
    QLineEdit *folderField() const { return m_folder; }
    QCheckBox *moveBox() const { return m_move; }

private:
    QLineEdit *m_folder = nullptr;
    QCheckBox *m_move = nullptr;
};

} // namespace glimmerix
