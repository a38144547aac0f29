#pragma once

#include "publish/cddelivery.h"
#include "publish/itempicker.h"
#include "publish/webalbumoptions.h"

#include <QWizardPage>

class QButtonGroup;
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

// CWebPage4: where the web album goes, the needed and free space, and Finish, which makes the
// album and delivers it into a folder or onto a CD. The CD is offered when `cd` can take it.
class CWebPage4 final : public QWizardPage
{
    Q_OBJECT
public:
    CWebPage4(ItemPicker &picker, WebAlbumOptions &options, const AppSettings &settings,
        std::unique_ptr<CdDelivery> cd = {}, QWidget *parent = nullptr);
    ~CWebPage4() override;
    void initializePage() override;
    void cleanupPage() override;
    bool validatePage() override;

    const QString &destination() const { return m_destination; }
    // Sets the destination as Browse would (tests and callers that know the folder).
    bool chooseDestination(const QString &folder);

private:
    void browse();
    void folderRadioClicked();
    void cdRadioClicked();
    void showFreeSpace();
    void showCdFreeSpace();
    void updateControls();
    bool cdMode() const;
    bool checkDiscFolderName();
    bool generate();

    ItemPicker &m_picker;
    WebAlbumOptions &m_options;
    const AppSettings &m_settings; // the field labels and folders the pages are made with
    QString m_destination;
    QRadioButton *m_cdRadio;
    QRadioButton *m_folderRadio;
    QPushButton *m_browse;
    QLabel *m_folderText;
    QLabel *m_neededSize;
    QLabel *m_freeSpace;
    QCheckBox *m_autoRunBox;
    QCheckBox *m_spareBox;
    QCheckBox *m_discFolderBox;
    QLineEdit *m_discFolderName;
    std::unique_ptr<CdDelivery> m_cd;
    bool m_activated = false;
};

// The controls every product's destination page shows: the CD choice with its disc folder, the
// folder choice with Browse and the chosen folder, the needed and free space, and a last row of
// the page's own check boxes.
struct DestinationControls {
    QRadioButton *cd;
    QCheckBox *discFolderBox;
    QLineEdit *discFolderName;
    QRadioButton *folder;
    QPushButton *browse;
    QLabel *folderText;
    QLabel *neededSize;
    QLabel *freeSpace;
    QList<QWidget *> lastRow;
};

// Lays `controls` out on `page` the same way for every product and groups the two choices.
void layOutDestinationPage(QWizardPage *page, const DestinationControls &controls);

// The disc folder name of a destination page when `box` is checked: refused with message 50505
// when it holds a character no disc name may hold; otherwise its spaces become '_' in `name`.
bool acceptDiscFolderField(const QCheckBox *box, QLineEdit *name);

// The folder picker (CSelPathDlg): a folder chooser titled string 50386 whose accept button
// reads string 57002, starting in `start`. Empty when the user cancels.
QString pickFolder(QWidget *parent, const QString &start);

} // namespace glimmerix
