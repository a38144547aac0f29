#pragma once

#include "destinationpage.h"

#include "publish/slideshowpackage.h"

#include <QWizardPage>

#include <memory>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace glimmerix
{

// CSlideShow2: where the show's sound comes from (one music file, each picture's own sound, or
// none) and the space the package needs. Next writes the show file; a music file that is not
// WAVE (message 50481) or a show file that cannot be written (50385) keeps the page.
class CSlideShow2 final : public QWizardPage
{
    Q_OBJECT
public:
    // The music dialog starts in `audioFolder` until a music file has been chosen.
    CSlideShow2(ItemPicker &picker, SlideShowPackage &package, const QString &audioFolder,
        QWidget *parent = nullptr);
    void initializePage() override;
    bool validatePage() override;

    // The needed size shown, in bytes (the destination page shows it too).
    qint64 neededBytes() const { return m_needed; }
    // Takes `path` as the music file as Browse would (tests and callers that know the file).
    void chooseMusic(const QString &path);

private:
    void musicClicked();
    void pictureSoundsClicked();
    void noSoundClicked();
    void browse();
    void showNeeded();

    ItemPicker &m_picker;
    SlideShowPackage &m_package;
    QString m_audioFolder;
    QRadioButton *m_musicRadio;
    QRadioButton *m_soundsRadio;
    QRadioButton *m_noSoundRadio;
    QPushButton *m_browse;
    QLineEdit *m_musicField;
    QLabel *m_neededText;
    qint64 m_needed = 0;
    bool m_activated = false;
};

// CSlideShow3: the destination page of the slide show; Finish delivers the package into the folder
// or onto the CD.
class CSlideShow3 final : public DestinationPage
{
    Q_OBJECT
public:
    // Browse starts in `slideShowFolder` until a destination has been chosen.
    CSlideShow3(ItemPicker &picker, SlideShowPackage &package, const CSlideShow2 &soundPage,
        const QString &slideShowFolder, std::unique_ptr<CdDelivery> cd = {},
        QWidget *parent = nullptr);
    bool validatePage() override;

private:
    qint64 neededBytes() const override;
    QString workingFolder() const override;
    bool deliverToCd();

    ItemPicker &m_picker;
    SlideShowPackage &m_package;
    const CSlideShow2 &m_soundPage;
};

} // namespace glimmerix
