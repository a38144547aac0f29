#pragma once

#include <QDialog>

#include <functional>

class QLabel;
class QPushButton;

namespace glimmerix
{

class SoundRecorder;

// The modal sound recorder: record, play, stop, format and save buttons, the status line and the
// format line over a SoundRecorder. When opened for an album the save button reads string 50401
// and a saved file goes to `addToAlbum`, after which the dialog closes.
class SoundRecorderDialog final : public QDialog
{
    Q_OBJECT
public:
    SoundRecorderDialog(const QString &audioFolder, QWidget *parent = nullptr);
    ~SoundRecorderDialog() override;

    // Works for an album: see SoundRecorder::setAlbumTarget.
    void setAlbumTarget(std::function<bool(const QString &)> addToAlbum);
    SoundRecorder &recorder() { return *m_recorder; }
    bool isUsable() const { return m_usable; }

    void done(int result) override;

private:
    void chooseFormat();
    void updateControls();

    SoundRecorder *m_recorder;
    bool m_usable = false;
    QPushButton *m_record;
    QPushButton *m_play;
    QPushButton *m_stop;
    QPushButton *m_format;
    QPushButton *m_save;
    QLabel *m_status;
    QLabel *m_formatText;
};

} // namespace glimmerix
