#include "guihost.h"

#include "app/progressdlg.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

namespace
{

// The box's buttons in the order the host interface names them.
QList<QMessageBox::StandardButton> standardButtons(MessageButtons buttons)
{
    switch (buttons) {
    case MessageButtons::Ok:
        return { QMessageBox::Ok };
    case MessageButtons::OkCancel:
        return { QMessageBox::Ok, QMessageBox::Cancel };
    case MessageButtons::YesNo:
        return { QMessageBox::Yes, QMessageBox::No };
    case MessageButtons::YesNoCancel:
        return { QMessageBox::Yes, QMessageBox::No, QMessageBox::Cancel };
    case MessageButtons::RetryCancel:
        return { QMessageBox::Retry, QMessageBox::Cancel };
    }
    return { QMessageBox::Ok };
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
    const QList<QMessageBox::StandardButton> order = standardButtons(buttons);
    QMessageBox::StandardButtons all;
    for (QMessageBox::StandardButton button : order)
        all |= button;
    box.setStandardButtons(all);
    const int index
        = look.defaultButton >= 0 && look.defaultButton < order.size() ? look.defaultButton : 0;
    box.setDefaultButton(order[index]);
    switch (box.exec()) {
    case QMessageBox::Yes:
        return MessageAnswer::Yes;
    case QMessageBox::No:
        return MessageAnswer::No;
    case QMessageBox::Cancel:
        return MessageAnswer::Cancel;
    case QMessageBox::Retry:
        return MessageAnswer::Retry;
    default:
        return MessageAnswer::Ok;
    }
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
