#include "guihost.h"

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>

namespace {

// Placeholder progress over QProgressDialog until the program's own progress dialog lands.
class DialogProgress final : public Progress {
public:
    explicit DialogProgress(QWidget *parent) : m_dialog(parent) { m_dialog.setMinimumDuration(0); }
    void setTitle(const QString &title) override { m_dialog.setWindowTitle(title); }
    void setText(const QString &text) override { m_dialog.setLabelText(text); }
    void setRange(int maximum) override { m_dialog.setRange(0, maximum); }
    void setPosition(int position) override { m_dialog.setValue(position); }
    int position() const override { return m_dialog.value(); }
    int range() const override { return m_dialog.maximum(); }
    void setHideCancel(bool hide) override { m_dialog.setCancelButton(hide ? nullptr : new QPushButton(QObject::tr("Cancel"))); }
    void setKeepOpen(bool keepOpen) override { m_dialog.setAutoReset(!keepOpen); }
    void show() override { m_dialog.show(); }
    void close() override { m_dialog.close(); }
    void pumpEvents() override { QApplication::processEvents(); }
    bool cancelled() const override { return m_dialog.wasCanceled(); }

private:
    QProgressDialog m_dialog;
};

} // namespace

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
    return std::make_unique<DialogProgress>(m_mainWindow);
}

bool GuiHost::escapePressed()
{
    // Key state is not global on Linux desktops; Escape reaches us as key events, which the
    // main window records (see the picture-loop poll in the image layer).
    QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return false;
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
    return QFileDialog::getSaveFileName(m_mainWindow, question.title, question.proposedPath,
                                        question.filter);
}
