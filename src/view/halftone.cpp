#include "halftone.h"

namespace glimmerix
{

namespace
{

// The 16 colours every palette display keeps reserved.
constexpr QRgb kSystemColors[16] = {
    qRgb(0, 0, 0),
    qRgb(128, 0, 0),
    qRgb(0, 128, 0),
    qRgb(128, 128, 0),
    qRgb(0, 0, 128),
    qRgb(128, 0, 128),
    qRgb(0, 128, 128),
    qRgb(192, 192, 192),
    qRgb(128, 128, 128),
    qRgb(255, 0, 0),
    qRgb(0, 255, 0),
    qRgb(255, 255, 0),
    qRgb(0, 0, 255),
    qRgb(255, 0, 255),
    qRgb(0, 255, 255),
    qRgb(255, 255, 255),
};

int toCubeLevel(int value)
{
    return ((value + 25) / 51) * 51;
}

int toCorner(int value)
{
    return value >= 128 ? 255 : 0;
}

} // namespace

QList<QRgb> halftoneColorTable()
{
    QList<QRgb> table(std::begin(kSystemColors), std::end(kSystemColors));
    for (int blue = 0; blue < 6; ++blue) {
        for (int green = 0; green < 6; ++green) {
            for (int red = 0; red < 6; ++red)
                table.append(qRgb(red * 51, green * 51, blue * 51));
        }
    }
    return table;
}

QImage reduceToDisplayDepth(const QImage &image, int depth)
{
    if (depth > 8 || image.isNull())
        return image;
    QImage out = image.convertToFormat(QImage::Format_RGB32);
    auto reduce = depth > 4 ? toCubeLevel : toCorner;
    for (int y = 0; y < out.height(); ++y) {
        auto *line = reinterpret_cast<QRgb *>(out.scanLine(y));
        for (int x = 0; x < out.width(); ++x) {
            const QRgb pixel = line[x];
            line[x] = qRgb(reduce(qRed(pixel)), reduce(qGreen(pixel)), reduce(qBlue(pixel)));
        }
    }
    return out;
}

} // namespace glimmerix
