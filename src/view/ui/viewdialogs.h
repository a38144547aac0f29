#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class QWidget;

namespace glimmerix
{

class AlbumItem;

// The view's small dialogs. Each returns nothing when the user cancels.

// Removing `count` selected items: whether their files are deleted from the disk as well.
std::optional<bool> askRemoveItems(QWidget *parent, int count);
// The three field labels (caption, keywords, description); an empty text keeps its label.
std::optional<QStringList> askFieldLabels(QWidget *parent, const QStringList &labels);
// The item's properties: its path (editable), attachment, file time, picture size and file
// size. Returns the path as the dialog ended with OK.
std::optional<QString> askItemProperties(QWidget *parent, const AlbumItem &item);
// The text of the file-time row: the date in the system language, then the time of day on a
// 12-hour clock (string 50372); empty when the file is missing.
QString itemFileTimeText(const QString &path);

} // namespace glimmerix
