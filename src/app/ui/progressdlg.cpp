#include "progressdlg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDialogButtonBox>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

namespace glimmerix
{

namespace
{

QString controlName(int id)
{
    return QStringLiteral("control%1").arg(id);
}

} // namespace

CProgressDlg::CProgressDlg(QWidget *parent)
    : QDialog(parent)
    , m_titleLine(new QLabel(this))
    , m_textLine(new QLabel(this))
    , m_bar(new QProgressBar(this))
    , m_cancelButton(nullptr)
{
    setModal(false);
    setWindowTitle(QApplication::applicationDisplayName());
    m_titleLine->setObjectName(controlName(kTitleLineId));
    m_textLine->setObjectName(controlName(kTextLineId));
    m_textLine->setWordWrap(true);
    m_bar->setObjectName(controlName(kProgressBarId));
    m_bar->setRange(0, m_range);
    m_bar->setValue(0);

    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    m_cancelButton = buttons->button(QDialogButtonBox::Cancel);
    connect(buttons, &QDialogButtonBox::rejected, this, &CProgressDlg::cancel);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_titleLine);
    layout->addWidget(m_textLine);
    layout->addWidget(m_bar);
    layout->addWidget(buttons);
    setMinimumWidth(360);
}

void CProgressDlg::setTitle(const QString &title)
{
    m_titleLine->setText(title);
}

void CProgressDlg::setText(const QString &text)
{
    m_textLine->setText(text);
}

void CProgressDlg::setRange(int maximum)
{
    m_range = qMax(0, maximum);
    m_bar->setRange(0, m_range);
    m_bar->setValue(qBound(0, m_position, m_range));
}

void CProgressDlg::setPosition(int position)
{
    // The bar shows a position outside the range at its nearest end; the caller's count is kept.
    m_position = position;
    m_bar->setValue(qBound(0, position, m_range));
}

void CProgressDlg::setHideCancel(bool hide)
{
    m_cancelHidden = hide;
    m_cancelButton->setVisible(!hide);
}

void CProgressDlg::show()
{
    adjustSize();
    centreOverParent();
    QDialog::show();
    raise();
}

void CProgressDlg::close()
{
    hide();
}

void CProgressDlg::pumpEvents()
{
    if (m_pacer.due())
        QCoreApplication::processEvents();
}

void CProgressDlg::reject()
{
    // Escape lands here: it acts as the Cancel button, and not at all while Cancel is hidden.
    if (!m_cancelHidden)
        cancel();
}

void CProgressDlg::closeEvent(QCloseEvent *event)
{
    // The close button of the frame is another Cancel; the dialog only really closes through
    // close() from its owner or a Cancel that may close it.
    event->ignore();
    reject();
}

void CProgressDlg::cancel()
{
    m_cancelled = true;
    if (!m_keepOpen)
        hide();
}

void CProgressDlg::centreOverParent()
{
    const QWidget *over = parentWidget() ? parentWidget()->window() : nullptr;
    if (!over)
        return;
    const QRect area = over->frameGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
}

} // namespace glimmerix
