#include "keptmetadata.h"

#include "mediafile.h"
#include "picturefacts.h"
#include "platform/savefilecommit.h"

#include <exiv2/exiv2.hpp>

#include <QFile>
#include <QSaveFile>

#include <string>

namespace glimmerix
{

struct KeptMetadata::Blocks {
    Exiv2::ExifData exif;
    Exiv2::XmpData xmp;
    Exiv2::IptcData iptc;
    QByteArray icc;
};

KeptMetadata::KeptMetadata() = default;
KeptMetadata::~KeptMetadata() = default;
KeptMetadata::KeptMetadata(KeptMetadata &&) noexcept = default;
KeptMetadata &KeptMetadata::operator=(KeptMetadata &&) noexcept = default;

KeptMetadata KeptMetadata::read(const QString &path)
{
    KeptMetadata kept;
    try {
        prepareExiv2();
        auto image = Exiv2::ImageFactory::open(QFile::encodeName(path).toStdString(), false);
        if (!image.get())
            return kept;
        image->readMetadata();
        auto blocks = std::make_unique<Blocks>();
        blocks->exif = image->exifData();
        blocks->xmp = image->xmpData();
        blocks->iptc = image->iptcData();
        if (image->iccProfileDefined()) {
            const Exiv2::DataBuf *icc = image->iccProfile();
            blocks->icc
                = QByteArray(reinterpret_cast<const char *>(icc->pData_), qsizetype(icc->size_));
        }
        if (!blocks->exif.empty() || !blocks->xmp.empty() || !blocks->iptc.empty()
            || !blocks->icc.isEmpty())
            kept.m_blocks = std::move(blocks);
    } catch (...) {
        // Damaged metadata is not carried over.
    }
    return kept;
}

bool KeptMetadata::isEmpty() const
{
    return !m_blocks;
}

QString KeptMetadata::writeInto(const QString &savedPath, int width, int height) const
{
    if (!m_blocks || identifyMediaFile(savedPath).format != MediaFormat::Jpeg)
        return {};
    QFile saved(savedPath);
    if (!saved.open(QIODevice::ReadOnly))
        return saved.errorString();
    const QByteArray bytes = saved.readAll();
    saved.close();
    QByteArray result;
    prepareExiv2();
    try {
        auto image = Exiv2::ImageFactory::open(
            reinterpret_cast<const Exiv2::byte *>(bytes.constData()), long(bytes.size()));
        if (!image.get())
            return QStringLiteral("the saved file cannot take metadata");
        image->readMetadata();
        Exiv2::ExifData exif = m_blocks->exif;
        Exiv2::ExifThumb(exif).erase();
        if (exif.findKey(Exiv2::ExifKey("Exif.Image.Orientation")) != exif.end())
            exif["Exif.Image.Orientation"] = std::uint16_t(1);
        if (exif.findKey(Exiv2::ExifKey("Exif.Photo.PixelXDimension")) != exif.end()) {
            exif["Exif.Photo.PixelXDimension"] = std::uint32_t(width);
            exif["Exif.Photo.PixelYDimension"] = std::uint32_t(height);
        }
        Exiv2::XmpData xmp = m_blocks->xmp;
        if (xmp.findKey(Exiv2::XmpKey("Xmp.tiff.Orientation")) != xmp.end())
            xmp["Xmp.tiff.Orientation"] = "1";
        image->setExifData(exif);
        image->setXmpData(xmp);
        image->setIptcData(m_blocks->iptc);
        if (!m_blocks->icc.isEmpty()) {
            Exiv2::DataBuf icc(reinterpret_cast<const Exiv2::byte *>(m_blocks->icc.constData()),
                long(m_blocks->icc.size()));
            image->setIccProfile(icc, false);
        }
        image->writeMetadata();
        Exiv2::BasicIo &io = image->io();
        io.open();
        io.seek(0, Exiv2::BasicIo::beg);
        const Exiv2::DataBuf written = io.read(long(io.size()));
        io.close();
        result
            = QByteArray(reinterpret_cast<const char *>(written.pData_), qsizetype(written.size_));
    } catch (const std::exception &error) {
        return QStringLiteral("the metadata cannot be written: %1")
            .arg(QString::fromLocal8Bit(error.what()));
    } catch (...) {
        return QStringLiteral("the metadata cannot be written");
    }
    if (!result.startsWith("\xFF\xD8"))
        return QStringLiteral("the metadata cannot be written");
    QSaveFile out(savedPath);
    if (!out.open(QIODevice::WriteOnly) || out.write(result) != result.size()
        || !commitSaveFile(out))
        return out.errorString();
    return {};
}

} // namespace glimmerix
