#pragma once

#include "core/controlids.h"
#include "core/resourceids.h"
#include "escapekeywatcher.h"
#include "platform/host.h"

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;

namespace glimmerix
{

// The program's modeless progress dialog: a title line (control 1052), a text line (1051), a bar
// from 0 to the range (1049) and a Cancel button. Cancel sets the cancelled flag and closes the
// dialog, or with keep-open only sets the flag; the hide-cancel switch removes the button (and
// Escape and the window's close button then do nothing). It centres itself over its parent, the
// main window, when shown. The caller owns it and must not keep it past the main window.
//
// Each control carries its number as object name "control<number>", so tests and later code can
// find it by the number the program's contract gives it.
class CProgressDlg final : public QDialog, public Progress
{
    Q_OBJECT
public:
    static constexpr int kTemplateId = Resource::kProgressDialog;
    static constexpr int kProgressBarId = ProgressControl::kProgressBar;
    static constexpr int kTextLineId = ProgressControl::kTextLine;
    static constexpr int kTitleLineId = ProgressControl::kTitleLine;

    explicit CProgressDlg(QWidget *parent = nullptr);

    void setTitle(const QString &title) override;
    void setText(const QString &text) override;
    void setRange(int maximum) override;
    void setPosition(int position) override;
    int position() const override { return m_position; }
    int range() const override { return m_range; }
    void setHideCancel(bool hide) override;
    void setKeepOpen(bool keepOpen) override { m_keepOpen = keepOpen; }
    void show() override;
    void close() override;
    void pumpEvents() override;
    bool cancelled() const override { return m_cancelled; }

    bool keepOpen() const { return m_keepOpen; }
    bool cancelHidden() const { return m_cancelHidden; }

    void reject() override;

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void cancel();
    void centreOverParent();

    QLabel *m_titleLine;
    QLabel *m_textLine;
    QProgressBar *m_bar;
    QPushButton *m_cancelButton;
    int m_range = 100;
    int m_position = 0;
    bool m_cancelled = false;
    bool m_cancelHidden = false;
    bool m_keepOpen = false;
    EventPacer m_pacer;
};

} // namespace glimmerix
