#include "albumsrvritem.h"

#include "album/albumdoc.h"
#include "album/dibimage.h"
#include "album/importer.h"
#include "imaging/imagescale.h"
#include "imaging/mediatypes.h"
#include "view/albumclipboard.h"

#include <QBuffer>
#include <QFileInfo>
#include <QUrl>

namespace glimmerix
{

namespace
{

constexpr QSize kRenderBox(640, 480);
constexpr int kRenderDotsPerInch = 200;
const QString kPng = QStringLiteral("image/png");
const QString kBmp = QStringLiteral("image/bmp");

// Data whose picture is rendered only when a receiver asks for PNG or BMP.
class ItemMimeData final : public QMimeData
{
public:
    ItemMimeData(const CAlbumDoc &document, QString path, QImage picture)
        : m_document(document)
        , m_path(std::move(path))
        , m_picture(std::move(picture))
    {
    }

    QStringList formats() const override
    {
        QStringList list = QMimeData::formats();
        list << kPng << kBmp;
        return list;
    }

    bool hasFormat(const QString &type) const override
    {
        return type == kPng || type == kBmp || QMimeData::hasFormat(type);
    }

protected:
    QVariant retrieveData(const QString &type, QMetaType wanted) const override
    {
        if (type != kPng && type != kBmp && type != QLatin1String("application/x-qt-image"))
            return QMimeData::retrieveData(type, wanted);
        if (m_picture.isNull()) {
            const int index = m_document.findItemByPath(m_path);
            if (const AlbumItem *item = m_document.item(index))
                m_picture = CAlbumSrvrItem::renderPicture(*item);
        }
        if (type == QLatin1String("application/x-qt-image"))
            return m_picture;
        QByteArray bytes;
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::WriteOnly);
        m_picture.save(&buffer, type == kPng ? "PNG" : "BMP");
        return bytes;
    }

private:
    const CAlbumDoc &m_document;
    QString m_path;
    mutable QImage m_picture;
};

} // namespace

CAlbumSrvrItem::CAlbumSrvrItem(CAlbumDoc &document, int index)
    : m_document(document)
    , m_index(document.item(index) ? index : 0)
{
}

const AlbumItem *CAlbumSrvrItem::currentItem() const
{
    return m_document.item(m_index);
}

void CAlbumSrvrItem::SetItemData(const QImage &picture, const QByteArray &reference)
{
    if (!picture.isNull())
        m_picture = picture;
    if (!reference.isEmpty())
        m_reference = reference;
}

QImage CAlbumSrvrItem::renderPicture(const AlbumItem &item)
{
    const ItemInfo *info = item.info();
    if (info && !info->isMedia && QFileInfo::exists(item.absolutePath())) {
        OwnedBlock picture(openPictureForThumbnail(item.absolutePath()));
        const QImage full = imageFromDibBlock(picture.handle());
        const int width = full.width();
        const int height = full.height();
        if (!full.isNull() && (width > kRenderBox.width() || height > kRenderBox.height())) {
            const QSize target = height < width
                ? QSize(kRenderBox.width(), std::max(1, height * kRenderBox.width() / width))
                : QSize(std::max(1, width * kRenderBox.width() / height), kRenderBox.width());
            OwnedBlock scaled(
                ScaleImage(picture.handle(), target.width(), target.height(), kRenderDotsPerInch));
            const QImage shrunk = imageFromDibBlock(scaled.handle());
            if (!shrunk.isNull())
                return shrunk;
        }
        if (!full.isNull())
            return full;
    }
    return item.thumbnailImage();
}

QSize CAlbumSrvrItem::extentOf(QSize thumbnail)
{
    const int w = std::max(1, thumbnail.width());
    const int h = std::max(1, thumbnail.height());
    if (h < w) {
        const int width = w < 50 ? 1000 : 10000;
        return { width, h * width / w };
    }
    const int height = h < 50 ? 1000 : 10000;
    return { w * height / h, height };
}

QSize CAlbumSrvrItem::OnGetExtent() const
{
    const AlbumItem *item = currentItem();
    if (!item || !item->info())
        return { 1000, 1000 };
    return extentOf({ item->info()->thumbWidth, item->info()->thumbHeight });
}

QMimeData *CAlbumSrvrItem::OnGetClipboardData()
{
    const AlbumItem *item = currentItem();
    auto *data = new ItemMimeData(m_document, item ? item->path() : QString(), m_picture);
    if (!item)
        return data;
    const QUrl url = QUrl::fromLocalFile(item->absolutePath());
    data->setData(QString::fromLatin1(mime::kUriList), url.toEncoded() + "\r\n");
    data->setData(
        QString::fromLatin1(mime::kGnomeCopiedFiles), QByteArray("copy\n") + url.toEncoded());
    data->setData(QString::fromLatin1(mime::kFileName), fileNameBlock(item->absolutePath()));
    if (!m_reference.isEmpty())
        data->setData(QString::fromLatin1(mime::kAlbumItem), m_reference);
    const int current = m_document.currentItem();
    m_document.setCurrentItem(m_index);
    data->setData(QString::fromLatin1(mime::kAlbumStream), currentItemStream(m_document));
    m_document.setCurrentItem(current);
    return data;
}

} // namespace glimmerix
