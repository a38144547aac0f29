#pragma once

#include <QByteArray>
#include <QString>

#include <cstddef>

namespace glimmerix
{

// Fixed-size text fields hold UTF-8 bytes. A text that does not fit is cut at a character
// boundary (never inside a multi-byte sequence); a path that does not fit is refused instead.

// The longest path a 260-byte path field holds (one byte stays for the terminator).
inline constexpr int kMaxPathBytes = 259;

// Number of bytes `text` takes in UTF-8.
int utf8Length(const QString &text);
// The UTF-8 form of `text`, cut to at most `maxBytes` bytes at a character boundary.
QByteArray utf8Prefix(const QString &text, std::size_t maxBytes);
// `text` cut so that its UTF-8 form takes at most `maxBytes` bytes (whole characters only).
// A negative limit leaves the text as it is.
QString cutToUtf8Bytes(const QString &text, int maxBytes);
// True when `path` fits a 260-byte path field.
bool pathFitsField(const QString &path);

} // namespace glimmerix
