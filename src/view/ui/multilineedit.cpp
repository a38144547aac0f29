#include "multilineedit.h"

#include <QSignalBlocker>
#include <QTextCursor>

namespace glimmerix
{

MultiLineEdit::MultiLineEdit(QWidget *parent)
    : QPlainTextEdit(parent)
{
    setTabChangesFocus(true);
    // One line shows within the row height of a line field; more lines scroll.
    document()->setDocumentMargin(1);
    setLineWrapMode(QPlainTextEdit::WidgetWidth);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    connect(this, &QPlainTextEdit::textChanged, this, &MultiLineEdit::onTextChanged);
}

void MultiLineEdit::setMaxLength(int length)
{
    m_maxLength = std::max(0, length);
    setText(text());
}

void MultiLineEdit::setText(const QString &text)
{
    m_setting = true;
    setPlainText(text.left(m_maxLength));
    m_setting = false;
}

void MultiLineEdit::onTextChanged()
{
    QString current = toPlainText();
    if (current.size() > m_maxLength) {
        // Cut what went past the limit and leave the cursor at the end of what stayed.
        const QSignalBlocker blocker(this);
        current.truncate(m_maxLength);
        setPlainText(current);
        moveCursor(QTextCursor::End);
    }
    if (!m_setting)
        Q_EMIT textEdited(current);
}

} // namespace glimmerix
