#pragma once

#include "media/waveformat.h"

#include <QDialog>
#include <QList>

class QComboBox;

namespace glimmerix
{

// The recording format chooser: one list of the formats the input device offers, the current one
// selected. Titled with string 50496.
class SoundFormatDialog final : public QDialog
{
    Q_OBJECT
public:
    SoundFormatDialog(const QList<WaveFormat> &offered, const WaveFormat &current, QWidget *parent);

    WaveFormat chosen() const;

private:
    QList<WaveFormat> m_offered;
    QComboBox *m_formats;
};

} // namespace glimmerix
