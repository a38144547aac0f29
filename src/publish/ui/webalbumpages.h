#pragma once

#include "destinationpage.h"

#include "publish/itempicker.h"
#include "publish/webalbumoptions.h"

#include <QWizardPage>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QRadioButton;
class QSpinBox;

namespace glimmerix
{

class AppSettings;

// CWebPage2: columns, rows, page title, theme and thumbnail size. Writes them into the options
// when the page is left with Next.
class CWebPage2 final : public QWizardPage
{
    Q_OBJECT
public:
    explicit CWebPage2(WebAlbumOptions &options, QWidget *parent = nullptr);
    void initializePage() override;
    bool validatePage() override;

private:
    void showPerPage();

    WebAlbumOptions &m_options;
    QSpinBox *m_columns;
    QSpinBox *m_rows;
    QLabel *m_perPage;
    QLineEdit *m_title;
    QComboBox *m_theme;
    QRadioButton *m_sizes[3];
    // The responsive theme's choices, enabled while it is the chosen theme.
    QCheckBox *m_crop;
    QCheckBox *m_originals;
    bool m_activated = false;
};

// CWebPage3: which caption lines each thumbnail gets.
class CWebPage3 final : public QWizardPage
{
    Q_OBJECT
public:
    CWebPage3(WebAlbumOptions &options, const std::array<QString, 3> &fieldLabels,
        QWidget *parent = nullptr);
    void initializePage() override;
    bool validatePage() override;

private:
    WebAlbumOptions &m_options;
    QCheckBox *m_name;
    QCheckBox *m_size;
    QCheckBox *m_fields[3];
    bool m_activated = false;
};

// CWebPage4: the destination page of the web album; Finish makes the album and delivers it into
// the folder or onto the CD.
class CWebPage4 final : public DestinationPage
{
    Q_OBJECT
public:
    CWebPage4(ItemPicker &picker, WebAlbumOptions &options, const AppSettings &settings,
        std::unique_ptr<CdDelivery> cd = {}, QWidget *parent = nullptr);
    bool validatePage() override;

private:
    qint64 neededBytes() const override;
    QString workingFolder() const override;
    bool generate();

    ItemPicker &m_picker;
    WebAlbumOptions &m_options;
    const AppSettings &m_settings; // the field labels and folders the pages are made with
};

} // namespace glimmerix
