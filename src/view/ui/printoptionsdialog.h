#pragma once

#include "view/cellpictures.h"
#include "view/printoptions.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QLineEdit;
class QListWidget;
class QSpinBox;

namespace glimmerix
{

// The print options dialog: which items, the grid, picture quality, labels, cell pictures, title
// and footer, and whether to preview or to print. It edits a copy of the options; result() says
// which button closed it.
class PrintOptionsDialog final : public QDialog
{
    Q_OBJECT
public:
    enum Outcome { Cancelled = 0, Preview = 2, Print = 3 };

    PrintOptionsDialog(
        const PrintOptions &options, const CellPictureLists &pictures, QWidget *parent = nullptr);

    PrintOptions options() const;

private:
    // Accepts with `outcome` unless the numbered range is refused (the dialog stays open).
    void finish(Outcome outcome);
    void updateControls();

    PrintOptions m_options;
    QButtonGroup *m_range = nullptr;
    QSpinBox *m_from = nullptr;
    QSpinBox *m_to = nullptr;
    QButtonGroup *m_grid = nullptr;
    QCheckBox *m_highQuality = nullptr;
    QCheckBox *m_squareCrop = nullptr;
    QCheckBox *m_includeMedia = nullptr;
    QCheckBox *m_itemTexts = nullptr;
    QCheckBox *m_fileNames = nullptr;
    QCheckBox *m_pageNumbers = nullptr;
    QCheckBox *m_backgroundOn = nullptr;
    QCheckBox *m_borderOn = nullptr;
    QListWidget *m_backgrounds = nullptr;
    QListWidget *m_borders = nullptr;
    QLineEdit *m_title = nullptr;
    QLineEdit *m_footer = nullptr;
};

} // namespace glimmerix
