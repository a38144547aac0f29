#pragma once

#include <QString>

#include <memory>

namespace glimmerix
{

// A picture's EXIF, XMP, IPTC and ICC profile, held in memory while the picture window saves the
// picture (perhaps over the very file it came from), then written into the saved JPEG. The saved
// pixels are upright, so the orientation is set to 1 and the EXIF thumbnail, which would show the
// old picture, is left out. The saved file is replaced only when the whole new file is written;
// otherwise it stays as the picture writer left it.
class KeptMetadata
{
public:
    KeptMetadata();
    ~KeptMetadata();
    KeptMetadata(KeptMetadata &&) noexcept;
    KeptMetadata &operator=(KeptMetadata &&) noexcept;

    // The metadata of the file at `path` (nothing when it has none or cannot be read).
    static KeptMetadata read(const QString &path);
    bool isEmpty() const;
    // Writes the metadata into the JPEG at `savedPath`, `width` x `height` pixels. Empty on
    // success (and when there is nothing to write or the file is no JPEG); else why not.
    QString writeInto(const QString &savedPath, int width, int height) const;

private:
    struct Blocks;
    std::unique_ptr<Blocks> m_blocks;
};

} // namespace glimmerix
