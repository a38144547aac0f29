#pragma once

#include "destinationpage.h"
#include "textlibrary.h"

#include "publish/cardtext.h"
#include "publish/framecatalog.h"
#include "publish/postcardmaker.h"

#include <QWizardPage>

#include <array>
#include <memory>

class QComboBox;
class QLabel;
class QListWidget;
class QMediaPlayer;
class QPushButton;
class QRadioButton;

namespace glimmerix
{

// What the postcard wizard's pages share while it runs.
struct PostcardWizardState {
    QStringList templateFolders;
    QString cdTemplateFolder; // where the CD's catalogs are looked for; empty: no CD configured
    QString cdDrive;
    QString workingFolder; // ends with '/'
    QImage background; // "Text.bkg"
    qint64 backgroundBytes = 0;
    QList<FrameCatalog> catalogs;
    int catalogIndex = -1;
    int frameIndex = -1; // -1: none chosen
    bool ownPictureChosen = false;
    OwnedBlock ownPicture;
    QString ownPictureFolder;
    bool large = false;
    QString clipPath;

    PostcardFrameChoice frameChoice() const;
    // The frame picture and its video window (card pixels); a null picture when there is none.
    QImage framePicture(QRect *window) const;
    // Bytes of the frame data the postcard file will carry.
    qint64 frameBytes() const;
};

// CPostCard1: the frame picture, from a catalog or the user's own, and the window size.
class CPostCard1 final : public QWizardPage
{
    Q_OBJECT
public:
    explicit CPostCard1(PostcardWizardState &state, QWidget *parent = nullptr);
    void initializePage() override;
    bool validatePage() override;
    // Loads `path` as the own picture, as Browse does (tests and callers that know the file).
    bool chooseOwnPicture(const QString &path);

private:
    void fillCatalogs();
    void showFrames();
    void browse();
    void updatePreview();

    PostcardWizardState &m_state;
    QRadioButton *m_catalogRadio;
    QRadioButton *m_ownRadio;
    QRadioButton *m_smallRadio;
    QRadioButton *m_largeRadio;
    QComboBox *m_catalogList;
    QListWidget *m_frameList;
    QPushButton *m_browse;
    QLabel *m_path;
    QLabel *m_preview;
    bool m_activated = false;
};

// CPostCardText: the card with its three text fields over a 480 x 360 preview.
class CPostCardText final : public QWizardPage
{
    Q_OBJECT
public:
    CPostCardText(PostcardWizardState &state, const QString &systemLanguage, CardLanguage language,
        QWidget *parent = nullptr);
    ~CPostCardText() override;
    // The card picture at 640 x 480 with the fields' texts merged in.
    QImage cardPicture() const;
    // The field of the message, upper and lower line (0, 1, 2), for tests and callers.
    TextFieldHandle field(int index) const { return m_fields[size_t(index)]; }

private:
    void chooseFont();
    void chooseColour();
    void textChanged(int index);

    PostcardWizardState &m_state;
    CardLanguage m_language;
    QLabel *m_preview;
    std::array<TextFieldHandle, kCardFieldCount> m_fields {};
    QFont m_messageFont; // full size
    QColor m_colour = Qt::black;
    bool m_warning = false;
};

// CPostCard2: the clip, previewed in the frame's window beside the card.
class CPostCard2 final : public QWizardPage
{
    Q_OBJECT
public:
    CPostCard2(PostcardWizardState &state, const CPostCardText &text, QWidget *parent = nullptr);
    void initializePage() override;
    void cleanupPage() override;
    bool validatePage() override;
    // Takes `path` as the clip, as Open does; false (with a message) when FFmpeg cannot play it.
    bool chooseClip(const QString &path);

private:
    void open();
    void play();
    void stop();
    void showPreview();
    void showEstimate();

    PostcardWizardState &m_state;
    const CPostCardText &m_text;
    QLabel *m_path;
    QLabel *m_preview;
    QLabel *m_estimate;
    QPushButton *m_open;
    QPushButton *m_play;
    QPushButton *m_stop;
    QMediaPlayer *m_player = nullptr;
    QImage m_card;
    QImage m_frame;
    QRect m_window;
    QImage m_clipPicture;
};

// CPostCard3: the destination page of the postcard; Finish makes the postcard and delivers it
// into the folder or onto the CD.
class CPostCard3 final : public DestinationPage
{
    Q_OBJECT
public:
    CPostCard3(PostcardWizardState &state, const CPostCardText &text,
        std::unique_ptr<CdDelivery> cd = {}, QWidget *parent = nullptr);
    bool validatePage() override;

private:
    qint64 neededBytes() const override;
    QString workingFolder() const override;
    bool finishInFolder();
    bool finishOnCd();

    PostcardWizardState &m_state;
    const CPostCardText &m_text;
};

} // namespace glimmerix
