#pragma once

#include "publish/presentationsettings.h"
#include "publish/slidetable.h"

#include <QDialog>

#include <functional>

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QSpinBox;

namespace glimmerix
{

// The presentation's settings dialog: transitions, loop, seconds per slide and the sound (one
// music file, the pictures' own sounds or none). OK stores the settings; OK with music chosen
// but no music file shows message 50480 and stays.
class PresentationDialog : public QDialog
{
    Q_OBJECT
public:
    PresentationDialog(const PresentationSettings &settings, const QList<SlideRow> &slides,
        const QString &albumName, QWidget *parent = nullptr,
        std::function<void(int topic)> openHelp = {});

    const PresentationSettings &settings() const { return m_settings; }
    void accept() override;
    // Browse: asks for a wave file and takes it as the music (message 50481 for an empty one).
    void browseMusic();

private:
    void soundModeChanged();

    PresentationSettings m_settings;
    QList<SlideRow> m_slides;
    QCheckBox *m_transitions = nullptr;
    QCheckBox *m_loop = nullptr;
    QSpinBox *m_seconds = nullptr;
    QRadioButton *m_music = nullptr;
    QRadioButton *m_sounds = nullptr;
    QRadioButton *m_silent = nullptr;
    QLineEdit *m_musicFile = nullptr;
    QPushButton *m_browse = nullptr;
};

// The settings the presentation keeps while the program runs, and the folder music was last
// chosen from.
PresentationSettings &presentationSettings();

} // namespace glimmerix
