#pragma once

#include <QByteArray>
#include <QList>
#include <QString>

#include <optional>

namespace glimmerix
{

// The text formats of the online photo service: the server lookup reply, the image list, the
// upload reply and the names the client gives what it downloads. Plain functions over bytes, so
// that the tests and the fuzz targets reach them without a network.

// Byte sizes of the fixed text fields of a listed picture (one byte stays for the terminator).
inline constexpr int kRemoteFilenameBytes = 260;
inline constexpr int kRemoteKeywordBytes = 128;
inline constexpr int kRemoteCaptionBytes = 256;
inline constexpr int kRemoteDescripBytes = 256;

// One picture of the user's account as the image list gives it. After a successful download
// `filename` holds the full local path and `downloaded` is set.
struct RemoteImage {
    int id = 0;
    QString filename;
    QString keyword;
    QString caption;
    QString descrip;
    bool downloaded = false;
};

// How a listing ended: the pictures were listed (possibly none), the reply was empty (the
// service refused the login), or it held exactly one field line (the service could not list).
enum class ListResult { Listed = 0, Empty = 1, SingleField = 2 };

// Reads the lines of an image list reply. A line ends at a line feed and is cut before its first
// "<" (a line without "<" reads as empty); the text after the last line feed comes back uncut.
class ListLineReader
{
public:
    explicit ListLineReader(const QByteArray &data)
        : m_data(data)
    {
    }
    QByteArray next();
    bool atEnd() const { return m_position >= m_data.size(); }

private:
    QByteArray m_data;
    qsizetype m_position = 0;
};

// The number of a number line: the decimal digits after the last "=" (conversion stops at the
// first other character; no digits give 0). No "=" gives no number.
std::optional<int> numberLineValue(const QByteArray &line);

// Parses an image list reply into `images` (replaced). The first line gives the number of
// pictures N, the second K; each picture then takes K + 1 field lines. Values longer than their
// field are cut at a character boundary. Parsing ends at the end of the data even when the
// counts promise more, so a hostile count cannot make the client build records from nothing.
ListResult parseImageList(const QByteArray &reply, QList<RemoteImage> &images);

// The image server's host from a server lookup reply: the text with at most two trailing line
// ends removed, in the reply's own rule (the character two before the end, then the last). Empty
// means the service is unavailable.
QString serverFromLookup(const QByteArray &reply);

// The marker before the reply code in an upload reply.
inline constexpr const char *kUploadReplyMarker = "ORVANTAMESSAGE:";
// The reply code after the marker (decimal, optionally signed; no digits give 0), or none when
// the reply holds no marker.
std::optional<int> uploadReplyCode(const QByteArray &reply);

// The local file name of a downloaded picture, "%i_%s" of its id and file name. The service's
// name is reduced to its last path component, with characters a file name cannot hold replaced,
// so a hostile name cannot write outside the download folder.
QString localPictureName(int id, const QString &filename);

// Percent-encodes a query value (everything but unreserved characters, in UTF-8).
QByteArray encodeQueryValue(const QString &value);

} // namespace glimmerix
