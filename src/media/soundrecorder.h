#pragma once

#include "audiodevice.h"
#include "waveformat.h"

#include <QByteArray>
#include <QFile>
#include <QObject>
#include <QTimer>

#include <array>
#include <functional>
#include <memory>

namespace glimmerix
{

class WavePlayer;

// The sound recorder without its window: records from the input device into a temporary file of
// its own in the audio folder ("audio-XXXXXX.tmp", made by the first recording and removed once
// the recording is saved or dropped) through two capture buffers, plays the recording back, changes
// the recording format and saves the result as a RIFF WAVE file. The dialog shows its status text
// and button states and forwards the buttons to it; tests drive it directly with a fake device.
//
// A recording keeps the format it was made in, so choosing another format for the next recording
// never spoils one that is not saved yet. A save that fails keeps the temporary recording (and the
// unsaved mark), and closing with an unsaved recording whose save fails or is cancelled does not
// close: what was captured is never thrown away without the user saying so.
class SoundRecorder : public QObject
{
    Q_OBJECT
public:
    enum class State { Idle, Recording, Playing };
    struct Buttons {
        bool record = false;
        bool play = false;
        bool stop = false;
        bool format = false;
        bool save = false;
        friend bool operator==(const Buttons &, const Buttons &) = default;
    };

    static constexpr std::int64_t kCaptureCapacity = 32000;
    static constexpr int kTimerId = 132;
    static constexpr int kTimerPeriodMs = 250;

    explicit SoundRecorder(const QString &audioFolder, QObject *parent = nullptr);
    ~SoundRecorder() override;

    // Makes the default format (PCM, 11025 Hz, 8 bits, mono) and the capture buffers. False, with
    // message 50396 (the device offers no format) or 50398 (no buffer memory), when the recorder
    // can offer nothing. A missing input device shows 50397 but leaves the recorder open.
    bool setUp();

    // When set, a saved file is handed to `addToAlbum` (which adds it as an item and returns true
    // when it did), and the dialog closes after a save.
    void setAlbumTarget(std::function<bool(const QString &)> addToAlbum);
    bool worksForAlbum() const { return bool(m_addToAlbum); }
    bool itemAdded() const { return m_itemAdded; }

    // The format for the next recording, the size of every format block (the largest format
    // offered) and the format text, "tag name: description".
    const QByteArray &formatBlock() const { return m_formatBlock; }
    WaveFormat format() const { return WaveFormat::fromBlock(m_formatBlock); }
    int maximumFormatSize() const { return m_maximumFormatSize; }
    QString formatText() const;
    QList<WaveFormat> offeredFormats() const { return m_capabilities.formats(); }
    // Takes `picked` for the next recording. Returns false and changes nothing when it is the
    // format in use (equal in its first 18 bytes) or one the device does not offer.
    bool chooseFormat(const WaveFormat &picked);
    // Used length of each capture buffer for the current format.
    std::int64_t captureBufferLength() const;

    bool record();
    void stop();
    bool play();
    // Writes the recording to `path`; 50475 when nothing was recorded, 50476 when the file cannot
    // be written.
    bool save(const QString &path);
    // Asks the host for a file name in the audio folder (".wav" added when none is given, and
    // 50314 asked when that names an existing file), then saves. False when the user declines or
    // the save fails.
    bool saveAs();
    // Stops the device, asks 59400 about an unsaved recording (and saves on OK) and removes the
    // temporary file. False when the dialog must stay open because the recording is not safe.
    bool close();

    State state() const { return m_state; }
    Buttons buttons() const;
    QString statusText() const;
    bool hasUnsavedRecording() const { return m_unsaved; }
    std::int64_t recordedLength() const { return m_recordedLength; }
    // Bytes the input device has captured in the recording under way.
    std::int64_t capturedBytes() const;
    // Empty until the first recording makes the file.
    QString temporaryPath() const { return m_temporaryPath; }
    QString audioFolder() const { return m_audioFolder; }
    WavePlayer *player() const { return m_player.get(); }
    bool timerRunning() const { return m_timer.isActive(); }

Q_SIGNALS:
    // Buttons or the status text changed (the timer ticks through here too).
    void changed();
    // Saved for an album: the dialog closes.
    void closeRequested();

private:
    void captured(const QByteArray &bytes);
    bool writeCaptureBuffer();
    void finishRecording();
    void failRecording(const QString &reason);
    void playbackFinished();
    void setState(State state);
    void removeTemporaryFile();

    QString m_audioFolder;
    QString m_temporaryPath;
    AudioCapabilities m_capabilities;
    QByteArray m_formatBlock;
    QByteArray m_recordingFormat;
    int m_maximumFormatSize = 0;
    bool m_usable = false;
    std::array<QByteArray, 2> m_captureBuffers;
    int m_nextBuffer = 0;
    std::unique_ptr<AudioInput> m_input;
    QFile m_temporaryFile;
    std::int64_t m_totalBytes = 0;
    std::int64_t m_recordedLength = 0;
    State m_state = State::Idle;
    bool m_unsaved = false;
    bool m_haveRecording = false;
    std::function<bool(const QString &)> m_addToAlbum;
    bool m_itemAdded = false;
    std::unique_ptr<WavePlayer> m_player;
    QTimer m_timer;
};

// "11025 Hz, 8 Bit, Mono" and the like, for the format text.
QString formatDescription(const WaveFormat &format);

} // namespace glimmerix
