#include <libburn/libburn.h>

#include "discburner.h"

#include "disclayout.h"

#include "core/messageids.h"
#include "platform/host.h"

#include <QThread>

#include <mutex>

namespace glimmerix
{

using namespace burn;

namespace
{

// The library queues its problems for us and prints nothing.
bool initialiseBurnLibrary()
{
    static bool ready = false;
    static std::once_flag once;
    std::call_once(once, [] {
        ready = burn_initialize() == 1;
        if (ready)
            burn_msgs_set_severities(
                const_cast<char *>("SORRY"), const_cast<char *>("NEVER"), const_cast<char *>(""));
    });
    return ready;
}

QString takeBurnProblem(const QString &fallback)
{
    QString first;
    int code = 0;
    int osErrno = 0;
    QByteArray text(BURN_MSGS_MESSAGE_LEN, '\0');
    char severity[80] = {};
    while (
        burn_msgs_obtain(const_cast<char *>("SORRY"), &code, text.data(), &osErrno, severity) > 0) {
        if (first.isEmpty())
            first = QString::fromUtf8(text.constData()).trimmed();
    }
    return first.isEmpty() ? fallback : first;
}

// Lets the drive work until it is idle again, showing `progress` and passing Cancel on.
bool waitWhileBusy(struct burn_drive *drive, Progress *progress)
{
    bool cancelled = false;
    struct burn_progress p {
    };
    while (burn_drive_get_status(drive, nullptr) == BURN_DRIVE_SPAWNING)
        QThread::msleep(20);
    while (burn_drive_get_status(drive, &p) != BURN_DRIVE_IDLE) {
        if (progress) {
            if (p.sectors > 0) {
                progress->setRange(p.sectors);
                progress->setPosition(std::min(p.sector, p.sectors));
            }
            progress->pumpEvents();
            if (!cancelled && progress->cancelled()) {
                cancelled = true;
                burn_drive_cancel(drive);
            }
        }
        QThread::msleep(50);
    }
    return !cancelled;
}

struct GrabbedDrive {
    struct burn_drive_info *info = nullptr;
    struct burn_drive *drive() const { return info ? info->drive : nullptr; }
    ~GrabbedDrive()
    {
        if (info) {
            burn_drive_release(info->drive, 0);
            burn_drive_info_free(info);
        }
    }
};

// The medium is blank, or erased with the user's consent. False with `error` set otherwise.
bool readyMedium(
    struct burn_drive *drive, const QString &address, Progress *progress, QString *error)
{
    const enum burn_disc_status status = burn_disc_get_status(drive);
    if (status == BURN_DISC_BLANK)
        return true;
    if (status != BURN_DISC_FULL && status != BURN_DISC_APPENDABLE) {
        *error = QStringLiteral("there is no usable disc in the writer");
        return false;
    }
    if (!burn_disc_erasable(drive)) {
        *error = QStringLiteral("the disc is not blank and cannot be erased");
        return false;
    }
    const MessageAnswer answer = host().showMessage(
        Message::kBlankDiscQuestion, { address }, MessageIcon::Question, MessageButtons::YesNo);
    if (answer != MessageAnswer::Yes) {
        *error = QStringLiteral("the disc was not erased");
        return false;
    }
    burn_disc_erase(drive, 1);
    waitWhileBusy(drive, progress);
    if (burn_disc_get_status(drive) != BURN_DISC_BLANK) {
        *error = takeBurnProblem(QStringLiteral("the disc could not be erased"));
        return false;
    }
    return true;
}

} // namespace

QList<DiscWriter> discWriters()
{
    QList<DiscWriter> writers;
    if (!initialiseBurnLibrary())
        return writers;
    struct burn_drive_info *infos = nullptr;
    unsigned int count = 0;
    while (burn_drive_scan(&infos, &count) == 0)
        QThread::msleep(10);
    for (unsigned int i = 0; i < count; ++i) {
        char address[BURN_DRIVE_ADR_LEN] = {};
        if (burn_drive_get_adr(&infos[i], address) <= 0)
            continue;
        writers.append(
            { QString::fromLocal8Bit(address), QString::fromLatin1(infos[i].vendor).trimmed(),
                QString::fromLatin1(infos[i].product).trimmed() });
    }
    if (infos)
        burn_drive_info_free(infos);
    takeBurnProblem({});
    return writers;
}

BurnOutcome burnDisc(const DiscLayout &layout, const BurnRequest &request, QString *error)
{
    if (!initialiseBurnLibrary()) {
        *error = QStringLiteral("the disc library cannot start");
        return BurnOutcome::Failed;
    }
    takeBurnProblem({});
    GrabbedDrive grabbed;
    QByteArray address = request.address.toLocal8Bit();
    if (burn_drive_scan_and_grab(&grabbed.info, address.data(), 1) != 1 || !grabbed.drive()) {
        grabbed.info = nullptr;
        *error = takeBurnProblem(QStringLiteral("no such writer"));
        return BurnOutcome::Failed;
    }
    struct burn_drive *drive = grabbed.drive();
    if (!readyMedium(drive, request.address, request.progress, error))
        return BurnOutcome::Failed;

    // The image library's stream type is the writer library's, declared outside its namespace.
    ::burn_source *imageSource = layout.createSource(error);
    if (!imageSource)
        return BurnOutcome::Failed;
    auto *source = reinterpret_cast<burn::burn_source *>(imageSource);
    struct burn_write_opts *options = burn_write_opts_new(drive);
    const qint64 imageBytes = source->get_size(source);
    qint64 room = burn_disc_available_space(drive, options);
    if (request.capacityBytes >= 0)
        room = std::min(room, request.capacityBytes);
    struct burn_disc *disc = burn_disc_create();
    struct burn_session *session = burn_session_create();
    struct burn_track *track = burn_track_create();
    burn_disc_add_session(disc, session, BURN_POS_END);
    burn_track_define_data(track, 0, 0, 1, BURN_MODE1);
    burn_track_set_source(track, source);
    burn_session_add_track(session, track, BURN_POS_END);
    burn_write_opts_set_perform_opc(options, 0);
    burn_write_opts_set_underrun_proof(options, 1);
    char reasons[BURN_REASONS_LEN] = {};

    BurnOutcome outcome = BurnOutcome::Written;
    if (imageBytes > room) {
        *error = QStringLiteral("the image needs %1 bytes").arg(imageBytes);
        outcome = BurnOutcome::TooLarge;
    } else if (burn_write_opts_auto_write_type(options, disc, reasons, 0) == BURN_WRITE_NONE) {
        *error = QString::fromLocal8Bit(reasons).trimmed();
        outcome = BurnOutcome::Failed;
    } else {
        burn_disc_write(options, disc);
        if (!waitWhileBusy(drive, request.progress)) {
            *error = QStringLiteral("cancelled");
            outcome = BurnOutcome::Cancelled;
        } else if (!burn_drive_wrote_well(drive)) {
            *error = takeBurnProblem(takeImageLibraryProblem());
            if (error->isEmpty())
                *error = QStringLiteral("the writer reported a failure");
            outcome = BurnOutcome::Failed;
        }
    }
    if (outcome != BurnOutcome::Written && source->cancel)
        source->cancel(source);
    burn_write_opts_free(options);
    burn_track_free(track);
    burn_session_free(session);
    burn_disc_free(disc);
    freeImageSource(imageSource);
    return outcome;
}

} // namespace glimmerix
