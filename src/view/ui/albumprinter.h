#pragma once

#include "view/cellpictures.h"
#include "view/printoptions.h"

#include <QObject>
#include <QStringList>

#include <memory>
#include <optional>

class QPrinter;
class QWidget;

namespace glimmerix
{

class CAlbumDoc;
class ContactSheet;

// The view's Print and Print Setup commands: keeps the print options and the printer for the run,
// runs the options dialog, then the preview or the printer choice, and paints the pages.
class AlbumPrinter final : public QObject
{
    Q_OBJECT
public:
    AlbumPrinter(CAlbumDoc &document, QWidget *parent);
    ~AlbumPrinter() override;

    // The field labels cells print before the item texts.
    void setFieldLabels(const QStringList &labels) { m_fieldLabels = labels; }
    // Print (57607): the options dialog, then the preview or the print.
    void printCommand();
    // Print Setup: the page set-up of the printer the next print uses.
    void printSetupCommand();
    const std::optional<PrintOptions> &options() const { return m_options; }

    // Paints every page of `sheet`, laid out for `printer`, on it; false when the printer cannot
    // be painted on.
    static bool printSheet(ContactSheet &sheet, QPrinter &printer);

private:
    QPrinter &printer();
    void preview();

    CAlbumDoc &m_document;
    QWidget *m_parent;
    QStringList m_fieldLabels;
    std::optional<PrintOptions> m_options;
    CellPictureLists m_pictures;
    std::unique_ptr<QPrinter> m_printer;
};

} // namespace glimmerix
