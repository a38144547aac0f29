#include "textlibrary.h"

#include "pickpage.h"

#include "publish/cardtext.h"

#include <QHash>
#include <QPlainTextEdit>
#include <QPointer>

#include <memory>

namespace glimmerix
{

namespace
{

struct TextField {
    QPointer<QPlainTextEdit> edit;
    CardText text;
    QRect rectangle;
};

QHash<TextFieldHandle, std::shared_ptr<TextField>> &fields()
{
    static QHash<TextFieldHandle, std::shared_ptr<TextField>> all;
    return all;
}

TextField *field(TextFieldHandle handle)
{
    const auto found = fields().constFind(handle);
    return found == fields().constEnd() ? nullptr : found->get();
}

void restyle(TextField &field)
{
    if (!field.edit)
        return;
    field.edit->setFont(field.text.font);
    QPalette palette = field.edit->palette();
    palette.setColor(QPalette::Text, field.text.colour);
    palette.setColor(QPalette::Base, Qt::transparent);
    field.edit->setPalette(palette);
}

} // namespace

TextFieldHandle CreateEditWindow(QWidget *dialog, int controlId, int)
{
    if (!dialog)
        return 0;
    auto made = std::make_shared<TextField>();
    made->edit = new QPlainTextEdit(dialog);
    made->edit->setObjectName(pageControlName(controlId));
    made->edit->setFrameShape(QFrame::NoFrame);
    made->edit->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    made->edit->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    made->edit->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    made->edit->document()->setDocumentMargin(0);
    made->edit->setAutoFillBackground(false);
    made->edit->viewport()->setAutoFillBackground(false);
    made->edit->show();
    const auto handle = TextFieldHandle(made.get());
    fields().insert(handle, made);
    return handle;
}

void SetEditRectangle(TextFieldHandle handle, const QRect &rectangle)
{
    if (TextField *found = field(handle)) {
        found->rectangle = rectangle;
        if (found->edit)
            found->edit->setGeometry(rectangle);
    }
}

void SetEditColor(TextFieldHandle handle, const QColor &colour)
{
    if (TextField *found = field(handle)) {
        found->text.colour = colour;
        restyle(*found);
    }
}

void SetEditFont(TextFieldHandle handle, const QFont &font)
{
    if (TextField *found = field(handle)) {
        found->text.font = font;
        restyle(*found);
    }
}

bool OnChangeNotification(TextFieldHandle handle, int)
{
    TextField *found = field(handle);
    if (!found)
        return true;
    if (found->edit)
        found->text.text = found->edit->toPlainText();
    return cardTextFits(found->text.text, found->text.font, found->rectangle.size());
}

bool CheckEditFont(TextFieldHandle handle, const QFont &font)
{
    const TextField *found = field(handle);
    return !found || cardTextFits(found->text.text, font, found->rectangle.size());
}

void MergeTextPercentage(TextFieldHandle handle, QImage &picture, int x, int y, int percent, int)
{
    if (const TextField *found = field(handle))
        mergeCardText(picture, found->text, found->rectangle.size(), QPoint(x, y), percent);
}

void DestroyEditWindow(TextFieldHandle handle)
{
    const std::shared_ptr<TextField> removed = fields().take(handle);
    if (removed && removed->edit)
        delete removed->edit.data();
}

QString editText(TextFieldHandle handle)
{
    const TextField *found = field(handle);
    return found ? found->text.text : QString();
}

void setEditText(TextFieldHandle handle, const QString &text)
{
    if (TextField *found = field(handle)) {
        found->text.text = text;
        if (found->edit)
            found->edit->setPlainText(text);
    }
}

} // namespace glimmerix
