#pragma once

#include "publish/itempicker.h"

#include <QWizardPage>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;

namespace glimmerix
{

// The object name of control `id`: "control<id>", so tests find controls by their numbers.
QString pageControlName(int id);

// `widget`, named for control `id`.
template<typename Widget> Widget *namedControl(Widget *widget, int id)
{
    widget->setObjectName(pageControlName(id));
    return widget;
}

// CWebPage1: the first page of the web album and slide show wizards. It shows the picking
// model: the album's items and the chosen entries, Add / Remove / Add all / Remove all, the
// convert box and the size estimate; Next builds the chosen-item records. The model lives as
// long as the page, so the working copies are deleted with the wizard (unless the last page
// cleared delete-on-close).
class CWebPage1 final : public QWizardPage
{
    Q_OBJECT
public:
    CWebPage1(PickingMode mode, const QString &workingFolder, const CAlbumDoc &document,
        QWidget *parent = nullptr);

    ItemPicker &picker() { return m_picker; }
    int helpTopic() const;

    void initializePage() override;
    bool validatePage() override;
    bool isComplete() const override { return true; }

private:
    // Every activation, including a return with Back.
    void activate();
    void addSelected();
    void removeSelected();
    void addAll();
    void removeAll();
    void toggleConvert();
    void showChosen();
    QList<int> selectedRows(const QListWidget *list) const;

    ItemPicker m_picker;
    const CAlbumDoc &m_document;
    QListWidget *m_allList;
    QListWidget *m_chosenList;
    QLabel *m_sizeText;
    QCheckBox *m_convertBox;
    bool m_wentOn = false; // Next was taken, so showing the page again is a return with Back
};

} // namespace glimmerix
