#include "codectestsupport.h"

#include "imaging/dib.h"
#include "picturetestutil.h"
#include "support/testenvironment.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QStandardPaths>

#include <cstring>

using namespace glimmerix;

namespace
{

// Packs top-down samples (one grey or three RGB channels) as RGB pixels.
RgbPicture rgbPicture(const SamplePicture &samples)
{
    RgbPicture picture { samples.width, samples.height, {} };
    for (std::size_t at = 0; at + std::size_t(samples.channels) <= samples.samples.size();
         at += std::size_t(samples.channels)) {
        const std::uint8_t *p = samples.samples.data() + at;
        picture.pixels.push_back(
            samples.channels == 3 ? Rgb { p[0], p[1], p[2] } : Rgb { p[0], p[0], p[0] });
    }
    return picture;
}

} // namespace

RgbPicture readNetpbm(const QString &path)
{
    return rgbPicture(readPnm(path));
}

QString codecFixture(const QString &name)
{
    return fixturePath(QStringLiteral("codecs/") + name);
}

RgbPicture blockPicture(BlockHandle block)
{
    return rgbPicture(blockPixels(block));
}

BlockHandle makeBlock(int width, int height, int bitCount, int colours,
    const std::function<Rgb(int)> &colour, const std::function<std::uint32_t(int, int)> &pixel)
{
    const std::size_t rowLength = dibRowBytes(width, bitCount);
    const BlockHandle block = blockAlloc(0, 40 + 4 * std::size_t(colours) + rowLength * height);
    BITMAPINFOHEADER *header = dibHeader(block);
    *header = { 40, width, height, 1, std::uint16_t(bitCount), 0, std::uint32_t(rowLength * height),
        2835, 2835, std::uint32_t(colours), 0 };
    RGBQUAD *table = dibColors(header);
    for (int i = 0; i < colours; ++i) {
        const Rgb c = colour(i);
        table[i] = { c[2], c[1], c[0], 0 };
    }
    unsigned char *bits = dibBits(header);
    for (int y = 0; y < height; ++y) {
        unsigned char *row = bits + std::size_t(height - 1 - y) * rowLength;
        for (int x = 0; x < width; ++x) {
            const std::uint32_t v = pixel(x, y);
            switch (bitCount) {
            case 24:
                row[3 * x] = std::uint8_t(v);
                row[3 * x + 1] = std::uint8_t(v >> 8);
                row[3 * x + 2] = std::uint8_t(v >> 16);
                break;
            case 8:
                row[x] = std::uint8_t(v);
                break;
            case 4:
                row[x / 2] |= std::uint8_t(x % 2 == 0 ? v << 4 : v);
                break;
            case 1:
                row[x / 8] |= std::uint8_t((v & 1) << (7 - x % 8));
                break;
            }
        }
    }
    return block;
}

Rgb greyEntry(int i)
{
    return { std::uint8_t(i), std::uint8_t(i), std::uint8_t(i) };
}

bool toolAvailable(const QString &program)
{
    return !QStandardPaths::findExecutable(program).isEmpty();
}

bool runTool(const QString &program, const QStringList &arguments, QByteArray *output)
{
    if (!toolAvailable(program))
        return false;
    QProcess process;
    process.start(program, arguments);
    if (!process.waitForFinished(30000))
        return false;
    if (output != nullptr)
        *output = process.readAllStandardOutput();
    return process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
}

RgbPicture decodeWithImageMagick(const QString &path)
{
    const QString ppm = makeTestFolder(QStringLiteral("magick")) + QStringLiteral("/out.ppm");
    if (!runTool(QStringLiteral("convert"),
            { path, QStringLiteral("-auto-orient"), QStringLiteral("-depth"), QStringLiteral("8"),
                QStringLiteral("ppm:") + ppm }))
        return {};
    return readNetpbm(ppm);
}

void PrintTo(const RgbPicture &picture, std::ostream *out)
{
    *out << picture.width << "x" << picture.height << " [";
    for (std::size_t i = 0; i < picture.pixels.size() && i < 24; ++i) {
        const Rgb &p = picture.pixels[i];
        *out << (i ? " " : "") << int(p[0]) << "," << int(p[1]) << "," << int(p[2]);
    }
    *out << (picture.pixels.size() > 24 ? " ...]" : "]");
}
