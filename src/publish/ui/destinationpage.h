#pragma once

#include "publish/autorunwriter.h"
#include "publish/cddelivery.h"
#include "publish/packagefolder.h"

#include <QWizardPage>

#include <memory>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace glimmerix
{

// What one product's destination page says and checks differently from the others.
struct DestinationSetup {
    int folderTextId; // the control number of the chosen folder's text
    QString discFolderLabel;
    QString startFolder; // where Browse starts until a destination is chosen
    int noFolderMessage; // Finish in folder mode with no destination
    // The disc folder name check and the characters its warning lists.
    bool (*acceptDiscFolder)(QString &name) = acceptDiscFolderName;
    QString forbiddenText = QStringLiteral(" .  ?  :  *  >  <    /  \\  |");
    // The product, for the folder rule: what an earlier package of its own looks like.
    PackageKind kind = PackageKind::WebAlbum;
};

// The last page of the web album, slide show and postcard wizards: the CD or folder choice, Browse
// with the chosen folder, the needed and free space, and the disc folder name. The CD is offered
// when `cd` can take it. Each product adds its Finish.
class DestinationPage : public QWizardPage
{
    Q_OBJECT
public:
    ~DestinationPage() override;
    void initializePage() override;
    void cleanupPage() override;

    const QString &destination() const { return m_destination; }
    // Sets the destination as Browse would (tests and callers that know the folder). The working
    // folder is refused: the copies would overwrite themselves.
    bool chooseDestination(const QString &folder);

protected:
    DestinationPage(const DestinationSetup &setup, std::unique_ptr<CdDelivery> cd, QWidget *parent);

    // The bytes the product needs, shown on every activation.
    virtual qint64 neededBytes() const = 0;
    // The folder the product is made in.
    virtual QString workingFolder() const = 0;

    bool cdMode() const;
    // The CD delivery; only while cdMode().
    CdDelivery &cdDelivery() const { return *m_cd; }
    bool autoRunChecked() const;
    // The disc folder name when its box is checked and can be used; empty otherwise.
    QString discFolder() const;
    // Finish's checks before any work: in CD mode an acceptable disc folder name (message 50505)
    // and a CD application that is not busy; in folder mode a chosen destination the product may
    // go into. A folder holding an earlier package of the product is replaced when the user says
    // so; a folder holding anything else is refused, with a new subfolder offered instead.
    bool readyToFinish();
    // Whether the user agreed to replace an earlier package in the destination (readyToFinish).
    bool replaceEarlier() const { return m_replaceEarlier; }

private:
    void browse();
    void folderRadioClicked();
    void updateControls();
    bool folderAccepted();

    DestinationSetup m_setup;
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
    bool m_replaceEarlier = false;
};

// The folder picker (CSelPathDlg): a folder chooser titled string 50386 whose accept button
// reads string 57002, starting in `start`. Empty when the user cancels.
QString pickFolder(QWidget *parent, const QString &start);

} // namespace glimmerix
