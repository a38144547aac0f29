// glimix-cli transition N FROM TO --frames FOLDER [--steps S] [--size WxH]: draws presentation
// effect N from one picture to another and writes the screen after every step.

#include "clicommand.h"

#include "album/dibimage.h"
#include "imaging/blockmemory.h"
#include "imaging/picturetypes.h"
#include "platform/fillin.h"
#include "publish/presentationframe.h"
#include "publish/transitions.h"

#include <QDir>
#include <QRegularExpression>

using namespace glimmerix;

namespace
{

const QString kCommand = QStringLiteral("transition");
constexpr int kDefaultWidth = 800;
constexpr int kDefaultHeight = 600;
constexpr int kMaxSteps = 1000;
constexpr int kMaxSide = 8192;

int runTransition(const QStringList &args)
{
    QStringList positional;
    QString folder;
    int steps = 0;
    QSize size(kDefaultWidth, kDefaultHeight);
    for (int i = 0; i < args.size(); ++i) {
        const QString &arg = args.at(i);
        if (arg == QLatin1String("--frames") && i + 1 < args.size()) {
            folder = args.at(++i);
        } else if (arg == QLatin1String("--steps") && i + 1 < args.size()) {
            bool ok = false;
            steps = args.at(++i).toInt(&ok);
            if (!ok || steps < 1 || steps > kMaxSteps)
                return cliUsageError(
                    kCommand, QStringLiteral("--steps takes 1 to %1").arg(kMaxSteps));
        } else if (arg == QLatin1String("--size") && i + 1 < args.size()) {
            const QRegularExpressionMatch match
                = QRegularExpression(QStringLiteral("^(\\d+)x(\\d+)$")).match(args.at(++i));
            size = match.hasMatch() ? QSize(match.captured(1).toInt(), match.captured(2).toInt())
                                    : QSize();
            if (size.width() < 1 || size.height() < 1 || size.width() > kMaxSide
                || size.height() > kMaxSide)
                return cliUsageError(
                    kCommand, QStringLiteral("--size takes WxH, 1 to %1").arg(kMaxSide));
        } else if (!arg.startsWith(QLatin1String("--"))) {
            positional << arg;
        } else {
            return cliUsageError(kCommand, QStringLiteral("unexpected argument '%1'").arg(arg));
        }
    }
    bool ok = false;
    const int effect = positional.value(0).toInt(&ok);
    if (positional.size() != 3 || !ok || effect < 0 || effect > kTransitionCount
        || folder.isEmpty())
        return cliUsageError(kCommand,
            QStringLiteral("give the effect (0 to %1), FROM, TO and --frames FOLDER")
                .arg(kTransitionCount));
    QImage pictures[2];
    for (int i = 0; i < 2; ++i) {
        QString problem;
        pictures[i] = loadPresentationPicture(positional.at(i + 1), &problem);
        if (pictures[i].isNull())
            return cliFail(positional.at(i + 1), problem);
    }
    if (!QDir().mkpath(folder))
        return cliFail(folder, QStringLiteral("the folder cannot be made"));
    const QImage from = composeSlide(pictures[0], size, 24);
    const QImage to = composeSlide(pictures[1], size, 24);
    if (steps == 0)
        steps = transitionInfo(effect).steps;
    QImage screen = from.copy();
    const int digits = std::max(2, int(QString::number(steps).size()));
    for (int step = 0; step < steps; ++step) {
        drawTransitionStep(effect, from, to, step, steps, screen);
        const QString path = QDir(folder).filePath(
            QStringLiteral("step-%1.bmp").arg(step + 1, digits, 10, QLatin1Char('0')));
        OwnedBlock block(imageToDibBlock(screen.convertToFormat(QImage::Format_RGB888)));
        const WriteResult written = savePicture(block.handle(), path);
        if (!written.ok())
            return cliFail(path, written.detail);
    }
    cliOut(fillIn(QStringLiteral("%1: %2\n"), QString::fromLatin1(transitionInfo(effect).name),
        countedText(steps, u"step", u"steps")));
    return 0;
}

const CliRegistration registration({ kCommand,
    QStringLiteral("transition N FROM TO --frames FOLDER [--steps S] [--size WxH]"),
    QStringLiteral("draw presentation effect N (0-82) from picture FROM to picture TO"),
    QStringLiteral("Both pictures are fitted to the screen size (800x600 unless --size) as the\n"
                   "show fits them; the screen after each step goes to FOLDER/step-01.bmp ...\n"
                   "(24-bit). The last step is TO. S defaults to the effect's own step count."),
    runTransition });

} // namespace
