#include "scandialog.h"

#include "imaging/dib.h"
#include "media/scansource.h"

#include <QApplication>
#include <QComboBox>
#include <QDoubleSpinBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <sane/saneopts.h>

namespace glimmerix
{

namespace
{

// A scanned picture for the preview (1, 8 or 24 bits, rows bottom-up).
QImage previewImage(BlockHandle block)
{
    BITMAPINFOHEADER *header = dibHeader(block);
    if (!header)
        return {};
    const int width = header->biWidth;
    const int height = header->biHeight;
    QImage image(width, height, QImage::Format_RGB888);
    const RGBQUAD *colours = dibColors(header);
    const std::size_t rowBytes = dibRowBytes(width, header->biBitCount);
    for (int y = 0; y < height; ++y) {
        const unsigned char *row = dibBits(header) + rowBytes * std::size_t(height - 1 - y);
        uchar *out = image.scanLine(y);
        for (int x = 0; x < width; ++x, out += 3) {
            if (header->biBitCount == 24) {
                out[0] = row[x * 3 + 2];
                out[1] = row[x * 3 + 1];
                out[2] = row[x * 3];
            } else {
                const RGBQUAD &c = colours[dibPixelIndex(row, x, header->biBitCount)];
                out[0] = c.rgbRed;
                out[1] = c.rgbGreen;
                out[2] = c.rgbBlue;
            }
        }
    }
    return image;
}

} // namespace

ScanDialog::ScanDialog(ScanSourceManager &manager, QWidget *parent)
    : QDialog(parent)
    , m_manager(manager)
    , m_preview(new QLabel(this))
    , m_status(new QLabel(this))
{
    setObjectName(QStringLiteral("scanDialog"));
    setWindowTitle(tr("Scan from %1").arg(manager.sourceName()));
    auto *form = new QFormLayout;
    for (const ScanOption &option : manager.options()) {
        if (option.name == QStringLiteral(SANE_NAME_SCAN_MODE) && !option.choices.isEmpty()) {
            m_mode = new QComboBox(this);
            m_mode->setObjectName(QStringLiteral("mode"));
            m_mode->addItems(option.choices);
            m_mode->setCurrentText(manager.option(option.name).toString());
            form->addRow(tr("&Mode:"), m_mode);
        } else if (option.name == QStringLiteral(SANE_NAME_SCAN_RESOLUTION)) {
            m_resolution = new QComboBox(this);
            m_resolution->setObjectName(QStringLiteral("resolution"));
            QList<double> values = option.values;
            if (values.isEmpty()) {
                for (const double dpi : { 75.0, 100.0, 150.0, 200.0, 300.0, 600.0, 1200.0 }) {
                    if (dpi >= option.minimum && dpi <= option.maximum)
                        values.append(dpi);
                }
            }
            for (const double dpi : values)
                m_resolution->addItem(QString::number(dpi), dpi);
            m_resolution->setCurrentText(QString::number(manager.option(option.name).toDouble()));
            form->addRow(tr("&Resolution (dpi):"), m_resolution);
        } else if (option.kind == ScanOption::Kind::Number && option.unit == QStringLiteral("mm")
            && QStringList { QStringLiteral(SANE_NAME_SCAN_TL_X),
                QStringLiteral(SANE_NAME_SCAN_TL_Y), QStringLiteral(SANE_NAME_SCAN_BR_X),
                QStringLiteral(SANE_NAME_SCAN_BR_Y) }
                   .contains(option.name)) {
            auto *box = new QDoubleSpinBox(this);
            box->setObjectName(option.name);
            box->setRange(option.minimum, option.maximum);
            box->setDecimals(1);
            box->setSuffix(QStringLiteral(" mm"));
            box->setValue(manager.option(option.name).toDouble());
            m_area.insert(option.name, box);
            form->addRow(option.title + u':', box);
        }
    }
    m_preview->setObjectName(QStringLiteral("preview"));
    m_preview->setMinimumSize(200, 260);
    m_preview->setAlignment(Qt::AlignCenter);
    m_preview->setFrameShape(QFrame::Box);
    m_status->setObjectName(QStringLiteral("status"));
    m_previewButton = new QPushButton(tr("&Preview"), this);
    m_previewButton->setObjectName(QStringLiteral("previewScan"));
    m_scan = new QPushButton(tr("&Scan"), this);
    m_scan->setObjectName(QStringLiteral("scan"));
    m_cancelButton = new QPushButton(tr("Cancel Scan"), this);
    m_cancelButton->setObjectName(QStringLiteral("cancelScan"));
    m_cancelButton->setEnabled(false);
    auto *close = new QPushButton(tr("&Close"), this);
    close->setObjectName(QStringLiteral("close"));
    for (QPushButton *push : { m_previewButton, m_scan, m_cancelButton, close })
        push->setAutoDefault(false);
    connect(m_previewButton, &QPushButton::clicked, this, &ScanDialog::previewScan);
    connect(m_scan, &QPushButton::clicked, this, &ScanDialog::scan);
    connect(m_cancelButton, &QPushButton::clicked, this, &ScanDialog::cancelScan);
    connect(close, &QPushButton::clicked, this, &QDialog::accept);

    auto *buttons = new QHBoxLayout;
    buttons->addWidget(m_previewButton);
    buttons->addWidget(m_scan);
    buttons->addWidget(m_cancelButton);
    buttons->addStretch();
    buttons->addWidget(close);
    auto *side = new QVBoxLayout;
    side->addLayout(form);
    side->addStretch();
    auto *top = new QHBoxLayout;
    top->addWidget(m_preview, 1);
    top->addLayout(side);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top, 1);
    layout->addWidget(m_status);
    layout->addLayout(buttons);
    m_manager.setCancelCheck([this] { return cancelCheck(); });
}

bool ScanDialog::cancelCheck()
{
    // The scan runs on this thread; let Cancel Scan be pressed between reads.
    QApplication::processEvents();
    return m_cancel;
}

void ScanDialog::setScanning(bool scanning)
{
    m_scanning = scanning;
    m_cancel = false;
    m_scan->setEnabled(!scanning);
    m_previewButton->setEnabled(!scanning);
    m_cancelButton->setEnabled(scanning);
    m_status->setText(scanning ? tr("Scanning...") : QString());
    if (scanning)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void ScanDialog::applyOptions()
{
    if (m_mode)
        m_manager.setOption(QStringLiteral(SANE_NAME_SCAN_MODE), m_mode->currentText());
    if (m_resolution)
        m_manager.setOption(QStringLiteral(SANE_NAME_SCAN_RESOLUTION), m_resolution->currentData());
    for (auto it = m_area.cbegin(); it != m_area.cend(); ++it)
        m_manager.setOption(it.key(), it.value()->value());
}

void ScanDialog::scan()
{
    if (m_scanning)
        return;
    applyOptions();
    setScanning(true);
    m_manager.transferReady();
    setScanning(false);
    m_status->setText(m_manager.lastError());
}

void ScanDialog::previewScan()
{
    if (m_scanning)
        return;
    applyOptions();
    setScanning(true);
    const OwnedBlock block(m_manager.scanPreview());
    setScanning(false);
    if (!block) {
        m_status->setText(m_manager.lastError());
        return;
    }
    m_preview->setPixmap(
        QPixmap::fromImage(previewImage(block.handle()))
            .scaled(m_preview->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
}

void ScanDialog::done(int result)
{
    if (m_scanning) {
        m_cancel = true;
        return;
    }
    m_manager.setCancelCheck({});
    m_manager.closeRequest();
    QDialog::done(result);
}

} // namespace glimmerix
