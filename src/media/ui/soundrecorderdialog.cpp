#include "soundrecorderdialog.h"

#include "soundformatdialog.h"

#include "core/messageids.h"
#include "media/soundrecorder.h"

#include "platform/strings.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace glimmerix
{

SoundRecorderDialog::SoundRecorderDialog(const QString &audioFolder, QWidget *parent)
    : QDialog(parent)
    , m_recorder(new SoundRecorder(audioFolder, this))
{
    setObjectName(QStringLiteral("soundRecorder"));
    setWindowTitle(tr("Sound Recorder"));
    QStyle *style = QApplication::style();
    const auto button = [this](const QString &name, const QString &text, const QIcon &icon) {
        auto *push = new QPushButton(icon, text, this);
        push->setObjectName(name);
        push->setAutoDefault(false);
        return push;
    };
    m_record = button(
        QStringLiteral("record"), tr("&Record"), style->standardIcon(QStyle::SP_DialogYesButton));
    m_play = button(QStringLiteral("play"), tr("&Play"), style->standardIcon(QStyle::SP_MediaPlay));
    m_stop = button(QStringLiteral("stop"), tr("S&top"), style->standardIcon(QStyle::SP_MediaStop));
    m_format = button(QStringLiteral("format"), tr("&Format..."), QIcon());
    m_save = button(
        QStringLiteral("save"), tr("&Save..."), style->standardIcon(QStyle::SP_DialogSaveButton));
    m_status = new QLabel(this);
    m_status->setObjectName(QStringLiteral("status"));
    m_formatText = new QLabel(this);
    m_formatText->setObjectName(QStringLiteral("formatText"));

    auto *transport = new QHBoxLayout;
    for (QPushButton *push : { m_record, m_play, m_stop })
        transport->addWidget(push);
    transport->addStretch();
    transport->addWidget(m_format);
    transport->addWidget(m_save);
    auto *closeButtons
        = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(transport);
    layout->addWidget(m_status);
    layout->addWidget(m_formatText);
    layout->addWidget(closeButtons);

    connect(m_record, &QPushButton::clicked, m_recorder, &SoundRecorder::record);
    connect(m_play, &QPushButton::clicked, m_recorder, &SoundRecorder::play);
    connect(m_stop, &QPushButton::clicked, m_recorder, &SoundRecorder::stop);
    connect(m_format, &QPushButton::clicked, this, &SoundRecorderDialog::chooseFormat);
    connect(m_save, &QPushButton::clicked, m_recorder, &SoundRecorder::saveAs);
    connect(closeButtons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(closeButtons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_recorder, &SoundRecorder::changed, this, &SoundRecorderDialog::updateControls);
    connect(m_recorder, &SoundRecorder::closeRequested, this, &QDialog::accept);

    m_usable = m_recorder->setUp();
    updateControls();
}

SoundRecorderDialog::~SoundRecorderDialog() = default;

void SoundRecorderDialog::setAlbumTarget(std::function<bool(const QString &)> addToAlbum)
{
    m_recorder->setAlbumTarget(std::move(addToAlbum));
    m_save->setText(loadString(Message::kSaveToAlbum));
}

void SoundRecorderDialog::done(int result)
{
    // The recorder keeps the dialog open while an unsaved recording could not be saved.
    if (!m_recorder->close())
        return;
    QDialog::done(result);
    if (parentWidget())
        parentWidget()->window()->activateWindow();
}

void SoundRecorderDialog::chooseFormat()
{
    SoundFormatDialog chooser(m_recorder->offeredFormats(), m_recorder->format(), this);
    if (chooser.exec() == QDialog::Accepted)
        m_recorder->chooseFormat(chooser.chosen());
    updateControls();
}

void SoundRecorderDialog::updateControls()
{
    const SoundRecorder::Buttons buttons = m_recorder->buttons();
    m_record->setEnabled(buttons.record);
    m_play->setEnabled(buttons.play);
    m_stop->setEnabled(buttons.stop);
    m_format->setEnabled(buttons.format);
    m_save->setEnabled(buttons.save);
    m_status->setText(m_usable ? m_recorder->statusText() : QString());
    m_formatText->setText(m_usable ? m_recorder->formatText() : QString());
}

} // namespace glimmerix
