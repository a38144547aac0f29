// glimix-cli adjust IN OUT [--brightness V] ...: the picture window's tools from the command line,
// applied in the order given, through the same functions the window uses.

#include "clicommand.h"

#include "imaging/dibblock.h"
#include "imaging/imagegeometry.h"
#include "imaging/mediafile.h"
#include "imaging/mediareader.h"
#include "imaging/pictureadjust.h"
#include "imaging/picturetypes.h"
#include "platform/fillin.h"

#include <QFileInfo>
#include <QRect>

#include <cmath>
#include <optional>

using namespace glimmerix;

namespace
{

const QString kCommand = QStringLiteral("adjust");

struct Step {
    QString option; // "--brightness", ...
    int value = 0;
    double degrees = 0;
    QRect area;
};

std::optional<Adjustment> adjustmentOf(const QString &option)
{
    if (option == QLatin1String("--brightness"))
        return Adjustment::Brightness;
    if (option == QLatin1String("--contrast"))
        return Adjustment::Contrast;
    if (option == QLatin1String("--saturation"))
        return Adjustment::Saturation;
    if (option == QLatin1String("--sharpness"))
        return Adjustment::Sharpness;
    return std::nullopt;
}

std::optional<QRect> parseArea(const QString &text)
{
    const QStringList parts = text.split(QLatin1Char(','));
    if (parts.size() != 4)
        return std::nullopt;
    int numbers[4];
    for (int i = 0; i < 4; ++i) {
        bool ok = false;
        numbers[i] = parts.at(i).trimmed().toInt(&ok);
        if (!ok)
            return std::nullopt;
    }
    return QRect(numbers[0], numbers[1], numbers[2], numbers[3]);
}

// Parses the options after IN and OUT into steps; a usage problem gives the message to show.
std::optional<QList<Step>> parseSteps(const QStringList &options, QString &problem)
{
    QList<Step> steps;
    for (int i = 0; i < options.size(); i += 2) {
        Step step { options.at(i) };
        // An unknown option is named as such, also when nothing follows it.
        if (!adjustmentOf(step.option) && step.option != QLatin1String("--rotate")
            && step.option != QLatin1String("--crop")) {
            problem = QStringLiteral("unknown option '%1'").arg(step.option);
            return std::nullopt;
        }
        if (i + 1 >= options.size()) {
            problem = QStringLiteral("%1 needs a value").arg(step.option);
            return std::nullopt;
        }
        const QString value = options.at(i + 1);
        bool ok = false;
        if (adjustmentOf(step.option)) {
            step.value = value.toInt(&ok);
            if (!ok || step.value < 0 || step.value > kSliderMaximum) {
                problem = QStringLiteral("%1 takes a slider value from 0 to 256, not '%2'")
                              .arg(step.option, value);
                return std::nullopt;
            }
        } else if (step.option == QLatin1String("--rotate")) {
            step.degrees = value.toDouble(&ok);
            if (!ok || !std::isfinite(step.degrees)) {
                problem = QStringLiteral("--rotate takes degrees, not '%1'").arg(value);
                return std::nullopt;
            }
        } else if (step.option == QLatin1String("--crop")) {
            const std::optional<QRect> area = parseArea(value);
            if (!area || area->width() <= 0 || area->height() <= 0) {
                problem = QStringLiteral("--crop takes X,Y,W,H with W and H above 0, not '%1'")
                              .arg(value);
                return std::nullopt;
            }
            step.area = *area;
        }
        steps.append(step);
    }
    return steps;
}

// Applies one step to `picture`; an empty text on success, else why it cannot be applied.
QString applyStep(const Step &step, OwnedBlock &picture)
{
    BITMAPINFOHEADER *header = checkedDibHeader(picture.handle());
    if (step.option == QLatin1String("--crop")) {
        if (!areaInsidePicture(picture.handle(), step.area))
            return fillIn(
                QStringLiteral("the crop area %1,%2 %3 x %4 reaches outside the %5 x %6 picture"),
                step.area.x(), step.area.y(), step.area.width(), step.area.height(),
                header->biWidth, header->biHeight);
        OwnedBlock cut(cropPicture(picture.handle(), step.area));
        if (!cut)
            return QStringLiteral("not enough memory to crop");
        picture = std::move(cut);
        return {};
    }
    if (step.option == QLatin1String("--rotate")) {
        OwnedBlock turned(rotatePicture(picture.handle(), step.degrees));
        if (!turned)
            return QStringLiteral("the turned picture would be too large");
        picture = std::move(turned);
        return {};
    }
    const Adjustment adjustment = *adjustmentOf(step.option);
    const int position = effectiveSliderPosition(adjustment, step.value);
    if (position == neutralSliderPosition(adjustment))
        return {};
    if (adjustment == Adjustment::Sharpness && header->biBitCount != 24)
        return QStringLiteral("sharpness needs a 24-bit picture (convert --24bit first)");
    if (header->biBitCount == 1)
        return QStringLiteral("%1 does not apply to 1-bit pictures").arg(step.option.mid(2));
    OwnedBlock adjusted(adjustPicture(picture.handle(), adjustment, position));
    // A saturation value that rounds to 100 % leaves the picture as it is.
    if (!adjusted && adjustment == Adjustment::Saturation && saturationPercent(position) == 100)
        return {};
    if (!adjusted)
        return QStringLiteral("not enough memory for %1").arg(step.option.mid(2));
    picture = std::move(adjusted);
    return {};
}

int runAdjust(const QStringList &arguments)
{
    if (arguments.size() < 2 || arguments.at(0).startsWith(QLatin1String("--"))
        || arguments.at(1).startsWith(QLatin1String("--")))
        return cliUsageError(kCommand, QStringLiteral("give an input and an output file first"));
    QString problem;
    const std::optional<QList<Step>> steps = parseSteps(arguments.mid(2), problem);
    if (!steps)
        return cliUsageError(kCommand, problem);
    const QString input = QFileInfo(arguments.at(0)).absoluteFilePath();
    const QString output = QFileInfo(arguments.at(1)).absoluteFilePath();
    if (!pictureTypeOf(output) || !pictureTypeOf(output)->write)
        return cliFail(arguments.at(1), savePicture(0, output).detail);

    DecodeResult read = loadMediaPicture(identifyMediaFile(input));
    OwnedBlock picture(read.block);
    if (read.status != DecodeStatus::Ok)
        return cliFail(arguments.at(0), read.detail);
    for (const Step &step : *steps) {
        const QString failure = applyStep(step, picture);
        if (!failure.isEmpty())
            return cliFail(arguments.at(0), failure);
    }
    const WriteResult written = savePicture(picture.handle(), output);
    if (!written.ok())
        return cliFail(arguments.at(1), written.detail);
    return 0;
}

const CliRegistration registration({ kCommand,
    QStringLiteral("adjust IN OUT [--brightness V] [--contrast V] [--saturation V] "
                   "[--sharpness V] [--crop X,Y,W,H] [--rotate DEGREES]"),
    QStringLiteral("adjust a picture as the picture window does and save it by OUT's extension"),
    QStringLiteral("The steps run in the order given. V is the slider position 0-256: 128 leaves\n"
                   "brightness, contrast and saturation as they are, 0 leaves sharpness (24-bit\n"
                   "pictures only). --crop takes the area's left, top, width and height in\n"
                   "pixels and must lie inside the picture; --rotate turns clockwise."),
    runAdjust });

} // namespace
