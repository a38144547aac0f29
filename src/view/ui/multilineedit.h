#pragma once

#include <QPlainTextEdit>

namespace glimmerix
{

// A text field of several lines with the line field's length rule: it holds at most maxLength()
// characters (text typed or pasted beyond that is cut off), and textEdited() reports changes the
// user makes, not those made by setText().
class MultiLineEdit final : public QPlainTextEdit
{
    Q_OBJECT
public:
    explicit MultiLineEdit(QWidget *parent = nullptr);

    int maxLength() const { return m_maxLength; }
    void setMaxLength(int length);
    QString text() const { return toPlainText(); }
    void setText(const QString &text);

Q_SIGNALS:
    void textEdited(const QString &text);

private:
    void onTextChanged();

    int m_maxLength = 32767;
    bool m_setting = false;
};

} // namespace glimmerix
