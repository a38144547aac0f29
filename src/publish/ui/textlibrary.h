#pragma once

#include <QColor>
#include <QFont>
#include <QImage>
#include <QRect>
#include <QtGlobal>

class QWidget;

namespace glimmerix
{

// Our "text.dll": the text fields of the postcard's text page, edited in place over the card
// preview and drawn into the card with Qt's text layout (publish/cardtext.h). It is built in, so
// the page always has its fields. A handle is 0 when a field could not be made; every call
// accepts 0 and does nothing.
using TextFieldHandle = quintptr;

// Makes the field for control `controlId` inside `dialog` (the preview it lies over).
TextFieldHandle CreateEditWindow(QWidget *dialog, int controlId, int reserved);
// Places the field at `rectangle` (preview pixels).
void SetEditRectangle(TextFieldHandle handle, const QRect &rectangle);
void SetEditColor(TextFieldHandle handle, const QColor &colour);
// `font` is at preview scale (3/4 of the card's).
void SetEditFont(TextFieldHandle handle, const QFont &font);
// The field's text changed (control `controlId`): true while it still fits its rectangle; the
// page shows message 50535 when it no longer does.
bool OnChangeNotification(TextFieldHandle handle, int controlId);
// Whether the field's text still fits with `font` (at preview scale).
bool CheckEditFont(TextFieldHandle handle, const QFont &font);
// Draws the field's text into `picture` at (`x`, `y`) card pixels, scaled from the preview by
// 100 / `percent`.
void MergeTextPercentage(
    TextFieldHandle handle, QImage &picture, int x, int y, int percent, int reserved);
// Removes the field.
void DestroyEditWindow(TextFieldHandle handle);

// The field's text (what MergeTextPercentage draws).
QString editText(TextFieldHandle handle);
void setEditText(TextFieldHandle handle, const QString &text);

} // namespace glimmerix
