#include "soundformatdialog.h"

#include "core/messageids.h"
#include "media/soundrecorder.h"

#include "platform/strings.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>

namespace glimmerix
{

SoundFormatDialog::SoundFormatDialog(
    const QList<WaveFormat> &offered, const WaveFormat &current, QWidget *parent)
    : QDialog(parent)
    , m_offered(offered)
    , m_formats(new QComboBox(this))
{
    setWindowTitle(loadString(Message::kFormatChooserTitle));
    m_formats->setObjectName(QStringLiteral("formats"));
    for (const WaveFormat &format : offered) {
        m_formats->addItem(QStringLiteral("%1: %2").arg(
            formatTagName(format.formatTag), formatDescription(format)));
    }
    m_formats->setCurrentIndex(std::max<qsizetype>(offered.indexOf(current), 0));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto *layout = new QFormLayout(this);
    layout->addRow(tr("&Format:"), m_formats);
    layout->addRow(buttons);
}

WaveFormat SoundFormatDialog::chosen() const
{
    const int index = m_formats->currentIndex();
    return index >= 0 && index < m_offered.size() ? m_offered[index] : WaveFormat();
}

} // namespace glimmerix
