#pragma once

#include "imaging/blockmemory.h"
#include "media/capturedriver.h"
#include "media/cliprecording.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QComboBox;
class QLabel;
class QPushButton;
class QSpinBox;

namespace glimmerix
{

class CapturePreview;
class CaptureSession;
class ClipPlayerWindow;

// The video capture dialog: the live picture of a capture driver, the driver list, the driver's
// format and source settings, capture of a clip to a temporary file of its own in the video folder
// ("capture-XXXXXX.tmp", kept as "saveas-XXXXXX.tmp" when it ends), playing and saving the clip
// into the album, and grabbing a still that can be saved into the album or opened as a new
// picture.
class VideoCaptureDialog final : public QDialog
{
    Q_OBJECT
public:
    // Where the drivers come from: the list and a maker for an entry's index.
    struct Drivers {
        QList<CaptureDriverEntry> entries;
        std::function<std::unique_ptr<CaptureDriver>(int index)> make;
    };
    VideoCaptureDialog(const QString &videoFolder, const QString &photosFolder, Drivers drivers,
        QWidget *parent = nullptr);
    ~VideoCaptureDialog() override;

    // Adds a saved clip or still to the album: 1 added, -2 already there, 0 failed.
    void setAddToAlbum(std::function<int(const QString &)> add) { m_addToAlbum = std::move(add); }
    // Opens a copy of the still in a new picture window (the receiver takes the block).
    void setOpenPicture(std::function<void(BlockHandle)> open) { m_openPicture = std::move(open); }

    // The platform index of the connected driver (-1: none).
    int connectedIndex() const { return m_connected; }
    CaptureSession *session() const { return m_session; }
    CapturePreview *preview() const { return m_preview; }
    QString captureFile() const { return m_capturePath; }
    QString finishedClip() const { return m_saveAsPath; }
    BlockHandle still() const { return m_still; }

    // The commands of the buttons.
    void connectDriver(int entry);
    void startCapture();
    void endCapture();
    void grabStill();
    void saveClip();
    void saveStill();
    void stillToNewPicture();
    void playClip();
    // The sound format for the next captures (the audio format dialog's choice).
    void setAudioFormat(const WaveFormat &format);
    const CaptureSetup &setup() const { return m_setup; }

    void done(int result) override;

protected:
    void keyPressEvent(QKeyEvent *event) override;

private:
    void chooseFormat();
    void chooseSource();
    void chooseAudioFormat();
    void showSetup();
    void showAudioFormat();
    void showFailure(const QString &error);
    void captureFinished(const ClipStats &stats);
    void updateButtons();
    void freeStill();

    QString m_videoFolder;
    QString m_photosFolder;
    Drivers m_drivers;
    QString m_capturePath;
    QString m_saveAsPath;
    int m_connected = -1;
    bool m_firstSetup = true;
    bool m_hasClip = false;
    CaptureSetup m_setup;
    CaptureSession *m_session = nullptr;
    BlockHandle m_still = 0;
    std::function<int(const QString &)> m_addToAlbum;
    std::function<void(BlockHandle)> m_openPicture;

    CapturePreview *m_preview;
    ClipPlayerWindow *m_player = nullptr;
    QComboBox *m_driverList;
    QPushButton *m_videoFormat;
    QPushButton *m_videoSource;
    QPushButton *m_videoDisplay;
    QPushButton *m_compression;
    QPushButton *m_audioFormat;
    QPushButton *m_capture;
    QPushButton *m_playClip;
    QPushButton *m_saveClip;
    QPushButton *m_grabStill;
    QPushButton *m_saveStill;
    QPushButton *m_stillToPicture;
    QSpinBox *m_framesPerSecond;
    QSpinBox *m_videoBuffers;
    QCheckBox *m_captureAudio;
    QLabel *m_audioText;
    QLabel *m_status;
};

} // namespace glimmerix
