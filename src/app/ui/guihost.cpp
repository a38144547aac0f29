#include "guihost.h"

#include "progressdlg.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>

MessageAnswer GuiHost::showText(const QString &text, MessageIcon icon, MessageButtons buttons, int)
{
    QMessageBox box(m_mainWindow);
    box.setText(text);
    box.setWindowTitle(QApplication::applicationDisplayName());
    switch (icon) {
    case MessageIcon::Warning:
        box.setIcon(QMessageBox::Warning);
        break;
    case MessageIcon::Information:
        box.setIcon(QMessageBox::Information);
        break;
    case MessageIcon::Question:
        box.setIcon(QMessageBox::Question);
        break;
    case MessageIcon::Error:
        box.setIcon(QMessageBox::Critical);
        break;
    }
    switch (buttons) {
    case MessageButtons::Ok:
        box.setStandardButtons(QMessageBox::Ok);
        break;
    case MessageButtons::OkCancel:
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        break;
    case MessageButtons::YesNo:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
        break;
    case MessageButtons::YesNoCancel:
        box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
        break;
    case MessageButtons::RetryCancel:
        box.setStandardButtons(QMessageBox::Retry | QMessageBox::Cancel);
        break;
    }
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
