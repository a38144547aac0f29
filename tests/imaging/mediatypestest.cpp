#include "imaging/mediatypes.h"

#include <gtest/gtest.h>

using namespace glimmerix;

namespace
{

struct ExtensionCase {
    const char *name;
    const char *path;
    const char *extension;
    int picture;
    int video;
};

const ExtensionCase kCases[] = {
    { "plain jpeg", "/p/a.jpg", ".jpg", 1, 0 },
    { "upper case", "/p/A.TIF", ".TIF", 1, 0 },
    { "four letters", "/p/clip.mpeg", ".mpeg", 0, 1 },
    { "five letters are too many", "/p/a.jpeg2", "", 0, 0 },
    { "jpeg is not a picture type", "/p/a.jpeg", ".jpeg", 0, 0 },
    { "no extension", "/p/readme", "", 0, 0 },
    { "dot in folder only", "/p.d/file", "", 0, 0 },
    { "dot in folder near end", "/a.b/c", "", 0, 0 },
    { "avi", "/v/x.Avi", ".Avi", 0, 1 },
    { "wave", "/s/x.wav", ".wav", 0, 0 },
    { "mpg", "/v/x.MPG", ".MPG", 0, 1 },
    { "mp3", "/s/x.mp3", ".mp3", 0, 0 },
    { "mov is video", "/v/x.mov", ".mov", 0, 1 },
    { "photo cd", "x.pcd", ".pcd", 1, 0 },
    { "layered", "x.qsf", ".qsf", 1, 0 },
    { "text", "x.txt", ".txt", 0, 0 },
    { "last dot wins", "/p/a.b.png", ".png", 0, 0 },
};

TEST(MediaTypes, ExtensionKindAndTypeTests)
{
    for (const ExtensionCase &c : kCases) {
        SCOPED_TRACE(c.name);
        const QString path = QString::fromUtf8(c.path);
        EXPECT_EQ(GetFileExtension(path), QString::fromUtf8(c.extension));
        EXPECT_EQ(IsPictureFile(path), c.picture);
        EXPECT_EQ(IsVideoFile(path), c.video);
    }
}

} // namespace
