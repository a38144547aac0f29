#pragma once

#include <QByteArray>
#include <QRect>
#include <QString>

#include <optional>

namespace glimmerix
{

// What the postcard file "background.vtp" carries for the player.
struct PostcardContent {
    bool hasEntry = false; // false: the header alone (neither a frame nor an own picture)
    // The card with its texts: a packed 24-bit bitmap (40-byte header, rows bottom-up).
    QByteArray cardPicture;
    QRect window; // the video window in frame picture pixels
    QString clipName; // "Video.MPEG": the clip beside the file, names compared without case
    // A whole picture file: the own picture as a Windows BMP file, or a catalog frame's bytes.
    QByteArray frameData;
};

// The bytes of "background.vtp" for `content`: the header, and with an entry the entry, the card
// picture, the window block and the frame data. A clip name longer than the block holds is cut.
QByteArray postcardFileBytes(const PostcardContent &content);

// Reads a postcard file that may come from anywhere: every count and size is checked against
// the bytes there are before it is used. Empty with `error` set when the file is not a postcard
// or does not hold what it claims; the card picture must be a 24-bit bitmap of at most
// 4096 x 4096 whose rows fit its size.
std::optional<PostcardContent> readPostcardFile(const QByteArray &bytes, QString *error);

} // namespace glimmerix
