#include "guihost.h"

#include "progressdlg.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace glimmerix
{

namespace
{

QMessageBox::StandardButton standardButton(MessageAnswer answer)
{
    switch (answer) {
    case MessageAnswer::Ok:
        return QMessageBox::Ok;
    case MessageAnswer::Cancel:
        return QMessageBox::Cancel;
    case MessageAnswer::Yes:
        return QMessageBox::Yes;
    case MessageAnswer::No:
        return QMessageBox::No;
    case MessageAnswer::Retry:
        return QMessageBox::Retry;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon boxIcon(MessageIcon icon)
{
    switch (icon) {
    case MessageIcon::Warning:
        return QMessageBox::Warning;
    case MessageIcon::Information:
        return QMessageBox::Information;
    case MessageIcon::Question:
        return QMessageBox::Question;
    case MessageIcon::Error:
        return QMessageBox::Critical;
    }
    return QMessageBox::Warning;
}

} // namespace

MessageAnswer GuiHost::showBox(
    const QString &text, MessageIcon icon, MessageButtons buttons, int, const MessageBoxLook &look)
{
    QMessageBox box(m_mainWindow);
    box.setObjectName(QStringLiteral("messageBox"));
    box.setText(text);
    box.setWindowTitle(
        look.caption.isEmpty() ? QApplication::applicationDisplayName() : look.caption);
    box.setIcon(boxIcon(icon));
    // The box's buttons in the order the host interface names them.
    QList<QMessageBox::StandardButton> order;
    QMessageBox::StandardButtons all;
    for (MessageAnswer answer : buttonAnswers(buttons)) {
        order.append(standardButton(answer));
        all |= order.last();
    }
    box.setStandardButtons(all);
    const int index
        = look.defaultButton >= 0 && look.defaultButton < order.size() ? look.defaultButton : 0;
    box.setDefaultButton(order[index]);
    // A box closed without a button (Escape on a box with no Cancel) gives the last answer.
    const int pressed = int(order.indexOf(QMessageBox::StandardButton(box.exec())));
    return buttonAnswer(buttons, pressed >= 0 ? pressed : int(order.size()) - 1);
}

std::unique_ptr<Progress> GuiHost::createProgress()
{
    return std::make_unique<CProgressDlg>(m_mainWindow);
}

bool GuiHost::escapePressed()
{
    return m_escapeWatcher.poll();
}

void GuiHost::setWaitCursor(bool on)
{
    if (on)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void GuiHost::setStatusText(int pane, const QString &text)
{
    if (m_statusSink)
        m_statusSink(pane, text);
}

QString GuiHost::askSaveFileName(const SaveFileQuestion &question)
{
    return QFileDialog::getSaveFileName(
        m_mainWindow, question.title, question.proposedPath, question.filter);
}

QStringList GuiHost::askOpenFileNames(const OpenFileQuestion &question)
{
    if (question.multiple)
        return QFileDialog::getOpenFileNames(
            m_mainWindow, question.title, question.folder, question.filter);
    const QString path = QFileDialog::getOpenFileName(
        m_mainWindow, question.title, question.folder, question.filter);
    return path.isEmpty() ? QStringList() : QStringList { path };
}

} // namespace glimmerix
