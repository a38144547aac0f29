#include "albumprinter.h"

#include "album/albumdoc.h"
#include "core/messageids.h"
#include "platform/host.h"
#include "printoptionsdialog.h"
#include "view/contactsheet.h"

#include <QFileInfo>
#include <QPageSetupDialog>
#include <QPainter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QTimer>

namespace glimmerix
{

AlbumPrinter::AlbumPrinter(CAlbumDoc &document, QWidget *parent)
    : QObject(parent)
    , m_document(document)
    , m_parent(parent)
{
}

AlbumPrinter::~AlbumPrinter() = default;

QPrinter &AlbumPrinter::printer()
{
    if (!m_printer)
        m_printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
    return *m_printer;
}

bool AlbumPrinter::printSheet(ContactSheet &sheet, QPrinter &printer)
{
    const QPageLayout layout = printer.pageLayout();
    const int dpi = printer.resolution();
    const QRect full = layout.fullRectPixels(dpi);
    sheet.layout(
        layout.paintRectPixels(dpi).size(), full.width() < full.height(), printer.logicalDpiX());
    QPainter painter;
    if (!painter.begin(&printer))
        return false;
    for (int page = 0; page < sheet.pageCount(); ++page) {
        if (page > 0 && !printer.newPage())
            return false;
        sheet.paintPage(painter, page);
    }
    return painter.end();
}

void AlbumPrinter::printCommand()
{
    if (!m_options) {
        host().setWaitCursor(true);
        m_pictures = listCellPictures();
        host().setWaitCursor(false);
        m_options.emplace();
        m_options->title = m_document.albumCaption().isEmpty()
            ? QFileInfo(m_document.pathName()).completeBaseName()
            : m_document.albumCaption();
    }
    PrintOptionsDialog dialog(*m_options, m_pictures, m_parent);
    const int outcome = dialog.exec();
    if (outcome != PrintOptionsDialog::Preview && outcome != PrintOptionsDialog::Print)
        return;
    m_options = dialog.options();
    if (outcome == PrintOptionsDialog::Preview) {
        preview();
        return;
    }
    QPrintDialog choice(&printer(), m_parent);
    if (choice.exec() != QDialog::Accepted)
        return;
    ContactSheet sheet(m_document, *m_options, m_fieldLabels);
    if (!printSheet(sheet, printer()))
        host().showMessage(Message::kPrintFailed);
    else if (!sheet.problems().isEmpty())
        host().showMessage(Message::kPrintUsedThumbnails, { sheet.problems().join(u'\n') });
}

void AlbumPrinter::preview()
{
    QPrintPreviewDialog dialog(&printer(), m_parent);
    dialog.setWindowState(Qt::WindowMaximized);
    connect(&dialog, &QPrintPreviewDialog::paintRequested, this, [this](QPrinter *target) {
        ContactSheet sheet(m_document, *m_options, m_fieldLabels);
        if (!printSheet(sheet, *target))
            host().showMessage(Message::kPreviewFailed);
    });
    dialog.exec();
    // The options dialog comes back after the preview, as after a print preview in the past.
    QTimer::singleShot(0, this, &AlbumPrinter::printCommand);
}

void AlbumPrinter::printSetupCommand()
{
    QPageSetupDialog dialog(&printer(), m_parent);
    dialog.exec();
}

} // namespace glimmerix
