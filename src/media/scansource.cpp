#include "scansource.h"

#include "core/messageids.h"
#include "platform/fillin.h"
#include "platform/host.h"
#include "platform/strings.h"
#include "scanbitmap.h"

#include <QFile>

#include <sane/sane.h>
#include <sane/saneopts.h>

#include <dlfcn.h>

#include <cstring>
#include <vector>

namespace glimmerix
{

// The SANE entry points, looked up in the library at run time so that the program starts (and
// says why it cannot scan) on a machine without SANE.
struct ScanSourceManager::Api {
    decltype(&sane_init) init;
    decltype(&sane_exit) exit;
    decltype(&sane_get_devices) getDevices;
    decltype(&sane_open) open;
    decltype(&sane_close) close;
    decltype(&sane_get_option_descriptor) optionDescriptor;
    decltype(&sane_control_option) controlOption;
    decltype(&sane_get_parameters) getParameters;
    decltype(&sane_start) start;
    decltype(&sane_read) read;
    decltype(&sane_cancel) cancel;
    decltype(&sane_strstatus) statusText;
};

namespace
{

// Sides beyond this many pixels are taken for a device error, not a picture.
constexpr int kMaxScanSide = 200000;

template<typename Function> bool lookUp(void *library, const char *name, Function &function)
{
    function = reinterpret_cast<Function>(dlsym(library, name));
    return function != nullptr;
}

QString latin(SANE_String_Const text)
{
    return text ? QString::fromUtf8(text) : QString();
}

} // namespace

QString ScanSourceInfo::label() const
{
    const QString described = QStringList { vendor, model }.join(u' ').trimmed();
    return described.isEmpty() ? name : described + QStringLiteral(" (") + name + u')';
}

QString scanParametersProblem(int format, int depth, int pixelsPerLine, int lines, int bytesPerLine)
{
    if (format != SANE_FRAME_GRAY && format != SANE_FRAME_RGB)
        return QStringLiteral("The scanner sends pictures in separate colour passes or in a "
                              "form this program cannot read.");
    if (depth != 1 && depth != 8 && depth != 16)
        return QStringLiteral("The scanner sends %1 bits per sample, which this program cannot "
                              "read.")
            .arg(depth);
    if (format == SANE_FRAME_RGB && depth == 1)
        return QStringLiteral("The scanner sends 1-bit colour pictures, which this program "
                              "cannot read.");
    if (pixelsPerLine <= 0 || lines <= 0 || pixelsPerLine > kMaxScanSide || lines > kMaxScanSide)
        return fillIn(
            QStringLiteral("The scanner reports an impossible picture size (%1 x %2 pixels)."),
            pixelsPerLine, lines);
    const qint64 samples = qint64(pixelsPerLine) * (format == SANE_FRAME_RGB ? 3 : 1);
    const qint64 needed = depth == 1 ? (samples + 7) / 8 : samples * (depth / 8);
    if (bytesPerLine < needed || bytesPerLine > needed * 2 + 64)
        return fillIn(QStringLiteral("The scanner reports %1 bytes per row for %2 pixels."),
            bytesPerLine, pixelsPerLine);
    return {};
}

ScanSourceManager::ScanSourceManager(Deliver deliver)
    : m_deliver(std::move(deliver))
{
}

ScanSourceManager::~ScanSourceManager()
{
    if (m_enabled)
        disableSource();
    closeSource();
    closeManager();
    delete m_api;
}

bool ScanSourceManager::openManager(const QString &library)
{
    if (m_managerOpen)
        return true;
    const QString name = library.isEmpty() ? loadString(Message::kScannerLibrary) : library;
    m_library = dlopen(QFile::encodeName(name).constData(), RTLD_NOW | RTLD_LOCAL);
    auto *api = new Api;
    const bool found = m_library && lookUp(m_library, "sane_init", api->init)
        && lookUp(m_library, "sane_exit", api->exit)
        && lookUp(m_library, "sane_get_devices", api->getDevices)
        && lookUp(m_library, "sane_open", api->open) && lookUp(m_library, "sane_close", api->close)
        && lookUp(m_library, "sane_get_option_descriptor", api->optionDescriptor)
        && lookUp(m_library, "sane_control_option", api->controlOption)
        && lookUp(m_library, "sane_get_parameters", api->getParameters)
        && lookUp(m_library, "sane_start", api->start) && lookUp(m_library, "sane_read", api->read)
        && lookUp(m_library, "sane_cancel", api->cancel)
        && lookUp(m_library, "sane_strstatus", api->statusText);
    SANE_Int version = 0;
    if (!found || api->init(&version, nullptr) != SANE_STATUS_GOOD) {
        delete api;
        if (m_library)
            dlclose(m_library);
        m_library = nullptr;
        m_error = loadString(Message::kScannerUnavailable);
        host().showMessage(Message::kScannerUnavailable, {}, MessageIcon::Warning,
            MessageButtons::Ok, { QStringLiteral("Warning"), 0 });
        return false;
    }
    delete m_api;
    m_api = api;
    m_managerOpen = true;
    return true;
}

bool ScanSourceManager::closeManager()
{
    if (!m_managerOpen || m_handle)
        return false;
    m_api->exit();
    // The library stays loaded: SANE backends may leave threads or handlers behind that must not
    // lose their code.
    m_managerOpen = false;
    return true;
}

QList<ScanSourceInfo> ScanSourceManager::sources() const
{
    QList<ScanSourceInfo> out;
    const SANE_Device **devices = nullptr;
    if (!m_managerOpen || m_api->getDevices(&devices, SANE_TRUE) != SANE_STATUS_GOOD || !devices)
        return out;
    for (; *devices; ++devices) {
        out.append({ latin((*devices)->name), latin((*devices)->vendor), latin((*devices)->model),
            latin((*devices)->type) });
    }
    return out;
}

QString ScanSourceManager::defaultSource(const QString &remembered) const
{
    const QList<ScanSourceInfo> all = sources();
    for (const ScanSourceInfo &source : all) {
        if (source.name == remembered)
            return remembered;
    }
    return all.isEmpty() ? QString() : all.first().name;
}

bool ScanSourceManager::openSource(const QString &name)
{
    if (!m_managerOpen || m_handle)
        return false;
    SANE_Handle handle = nullptr;
    const SANE_Status status = m_api->open(name.toUtf8().constData(), &handle);
    if (status != SANE_STATUS_GOOD) {
        m_error = QStringLiteral("The scanner %1 could not be opened (%2).")
                      .arg(name, latin(m_api->statusText(status)));
        return false;
    }
    m_handle = handle;
    m_sourceName = name;
    m_thresholdGrey = false;
    return true;
}

bool ScanSourceManager::closeSource()
{
    if (!m_handle || m_enabled)
        return false;
    m_api->close(m_handle);
    m_handle = nullptr;
    m_sourceName.clear();
    return true;
}

bool ScanSourceManager::setMemoryTransfer()
{
    return m_handle != nullptr;
}

bool ScanSourceManager::enableSource()
{
    if (!m_handle)
        return false;
    m_enabled = true;
    return true;
}

bool ScanSourceManager::disableSource()
{
    if (!m_enabled)
        return false;
    m_enabled = false;
    return true;
}

void ScanSourceManager::transferReady()
{
    if (!m_handle || m_mode == 0)
        return;
    m_deliver(scanPicture());
    if (m_mode == 1) {
        disableSource();
        closeSource();
        closeManager();
    } else if (m_mode == 2) {
        disableSource();
    }
    if (m_mode != 3)
        m_mode = 0;
}

void ScanSourceManager::closeRequest()
{
    if (m_enabled)
        disableSource();
    if (m_handle)
        closeSource();
    if (m_managerOpen)
        closeManager();
    m_mode = 0;
}

BlockHandle ScanSourceManager::scanPreview()
{
    if (!m_handle)
        return 0;
    const QString preview = QStringLiteral(SANE_NAME_PREVIEW);
    const bool switched = setOption(preview, true);
    const BlockHandle block = scanPicture();
    if (switched)
        setOption(preview, false);
    return block;
}

BlockHandle ScanSourceManager::scanPicture()
{
    m_error.clear();
    // Options are read before the scan starts: a scanning device may refuse them.
    const QVariant resolution = option(QStringLiteral(SANE_NAME_SCAN_RESOLUTION));
    const std::int32_t perMetre = resolution.isValid()
        ? scanPixelsPerMetre(std::int64_t(resolution.toDouble() * 65536.0), ScanUnits::Inches)
        : 0;
    SANE_Status status = m_api->start(m_handle);
    if (status != SANE_STATUS_GOOD) {
        m_error = QStringLiteral("The scan could not be started (%1).")
                      .arg(latin(m_api->statusText(status)));
        m_api->cancel(m_handle);
        return 0;
    }
    SANE_Parameters parameters {};
    status = m_api->getParameters(m_handle, &parameters);
    if (status == SANE_STATUS_GOOD) {
        m_error = scanParametersProblem(parameters.format, parameters.depth,
            parameters.pixels_per_line, parameters.lines, parameters.bytes_per_line);
    } else {
        m_error = QStringLiteral("The scanner did not describe its picture (%1).")
                      .arg(latin(m_api->statusText(status)));
    }
    if (!m_error.isEmpty()) {
        m_api->cancel(m_handle);
        return 0;
    }
    const bool rgb = parameters.format == SANE_FRAME_RGB;
    const bool oneBit = parameters.depth == 1;
    const ScanPixelType type = rgb  ? ScanPixelType::Rgb
        : oneBit || m_thresholdGrey ? ScanPixelType::BlackWhite
                                    : ScanPixelType::Grey;
    ScanBitmapBuilder builder;
    // SANE lineart: a set bit is black.
    if (!builder.begin(parameters.pixels_per_line, parameters.lines, type, perMetre, true,
            !oneBit && m_thresholdGrey)) {
        m_error = fillIn(QStringLiteral("There is not enough memory for a %1 x %2 picture."),
            parameters.pixels_per_line, parameters.lines);
        m_api->cancel(m_handle);
        return 0;
    }
    // Rows are gathered whole so that padding can be cut and 16-bit samples made 8-bit.
    const std::size_t lineBytes = std::size_t(parameters.bytes_per_line);
    const std::size_t samples = std::size_t(parameters.pixels_per_line) * (rgb ? 3 : 1);
    const std::size_t usedBytes = oneBit ? (samples + 7) / 8 : samples * (parameters.depth / 8);
    std::vector<unsigned char> line(lineBytes);
    std::vector<unsigned char> narrow(samples);
    std::size_t filled = 0;
    std::vector<unsigned char> buffer(256 * 1024);
    for (;;) {
        if (m_cancelled && m_cancelled()) {
            m_api->cancel(m_handle);
            m_error = QStringLiteral("The scan was cancelled.");
            return 0;
        }
        SANE_Int length = 0;
        status = m_api->read(m_handle, buffer.data(), SANE_Int(buffer.size()), &length);
        if (status == SANE_STATUS_EOF)
            break;
        if (status != SANE_STATUS_GOOD) {
            m_error = status == SANE_STATUS_CANCELLED
                ? QStringLiteral("The scan was cancelled.")
                : QStringLiteral("The scan failed (%1). The picture has not been added.")
                      .arg(latin(m_api->statusText(status)));
            m_api->cancel(m_handle);
            return 0;
        }
        for (SANE_Int at = 0; at < length;) {
            const std::size_t take = std::min(lineBytes - filled, std::size_t(length - at));
            std::memcpy(line.data() + filled, buffer.data() + at, take);
            filled += take;
            at += SANE_Int(take);
            if (filled < lineBytes)
                continue;
            filled = 0;
            if (parameters.depth == 16) {
                const auto *wide = reinterpret_cast<const std::uint16_t *>(line.data());
                for (std::size_t i = 0; i < samples; ++i)
                    narrow[i] = std::uint8_t(wide[i] >> 8);
                builder.append(narrow.data(), samples);
            } else {
                builder.append(line.data(), usedBytes);
            }
        }
    }
    m_api->cancel(m_handle);
    if (builder.rowsDone() < parameters.lines) {
        m_error = fillIn(
            QStringLiteral("The scanner sent %1 of %2 rows. The picture has not been added."),
            builder.rowsDone(), parameters.lines);
        return 0;
    }
    return builder.finish();
}

int ScanSourceManager::optionIndex(const QString &name) const
{
    if (!m_handle)
        return -1;
    const QByteArray wanted = name.toUtf8();
    for (SANE_Int i = 1;; ++i) {
        const SANE_Option_Descriptor *descriptor = m_api->optionDescriptor(m_handle, i);
        if (!descriptor)
            return -1;
        if (descriptor->name && wanted == descriptor->name)
            return i;
    }
}

QList<ScanOption> ScanSourceManager::options() const
{
    QList<ScanOption> out;
    if (!m_handle)
        return out;
    for (SANE_Int i = 1;; ++i) {
        const SANE_Option_Descriptor *d = m_api->optionDescriptor(m_handle, i);
        if (!d)
            break;
        if (!d->name || !*d->name || !(d->cap & SANE_CAP_SOFT_SELECT) || d->size == 0)
            continue;
        ScanOption option;
        option.name = latin(d->name);
        option.title = latin(d->title);
        option.active = SANE_OPTION_IS_ACTIVE(d->cap);
        option.unit = d->unit == SANE_UNIT_MM ? QStringLiteral("mm")
            : d->unit == SANE_UNIT_DPI        ? QStringLiteral("dpi")
                                              : QString();
        const bool fixed = d->type == SANE_TYPE_FIXED;
        const auto number
            = [fixed](SANE_Word word) { return fixed ? SANE_UNFIX(word) : double(word); };
        if (d->type == SANE_TYPE_BOOL) {
            option.kind = ScanOption::Kind::Switch;
        } else if (d->type == SANE_TYPE_BUTTON) {
            option.kind = ScanOption::Kind::Action;
        } else if (d->type == SANE_TYPE_STRING
            && d->constraint_type == SANE_CONSTRAINT_STRING_LIST) {
            option.kind = ScanOption::Kind::Choice;
            for (const SANE_String_Const *s = d->constraint.string_list; *s; ++s)
                option.choices.append(latin(*s));
        } else if ((d->type == SANE_TYPE_INT || fixed) && d->size == sizeof(SANE_Word)) {
            option.kind = ScanOption::Kind::Number;
            if (d->constraint_type == SANE_CONSTRAINT_RANGE) {
                option.minimum = number(d->constraint.range->min);
                option.maximum = number(d->constraint.range->max);
            } else if (d->constraint_type == SANE_CONSTRAINT_WORD_LIST) {
                for (SANE_Int w = 1; w <= d->constraint.word_list[0]; ++w)
                    option.values.append(number(d->constraint.word_list[w]));
            } else {
                option.minimum = -1e9;
                option.maximum = 1e9;
            }
        } else {
            continue;
        }
        out.append(option);
    }
    return out;
}

QVariant ScanSourceManager::option(const QString &name) const
{
    const int index = optionIndex(name);
    if (index < 0)
        return {};
    const SANE_Option_Descriptor *d = m_api->optionDescriptor(m_handle, index);
    if (!SANE_OPTION_IS_ACTIVE(d->cap) || d->size <= 0)
        return {};
    std::vector<char> value(std::size_t(d->size) + 1, 0);
    if (m_api->controlOption(m_handle, index, SANE_ACTION_GET_VALUE, value.data(), nullptr)
        != SANE_STATUS_GOOD)
        return {};
    SANE_Word word = 0;
    std::memcpy(&word, value.data(), std::min(sizeof word, value.size()));
    switch (d->type) {
    case SANE_TYPE_BOOL:
        return word != SANE_FALSE;
    case SANE_TYPE_INT:
        return int(word);
    case SANE_TYPE_FIXED:
        return SANE_UNFIX(word);
    case SANE_TYPE_STRING:
        return QString::fromUtf8(value.data());
    default:
        return {};
    }
}

bool ScanSourceManager::setOption(const QString &name, const QVariant &value)
{
    const int index = optionIndex(name);
    if (index < 0)
        return false;
    const SANE_Option_Descriptor *d = m_api->optionDescriptor(m_handle, index);
    if (!SANE_OPTION_IS_ACTIVE(d->cap) || !(d->cap & SANE_CAP_SOFT_SELECT))
        return false;
    SANE_Status status = SANE_STATUS_INVAL;
    if (d->type == SANE_TYPE_STRING) {
        QByteArray text = value.toString().toUtf8();
        if (text.size() >= d->size)
            return false;
        text.resize(d->size, '\0');
        status = m_api->controlOption(m_handle, index, SANE_ACTION_SET_VALUE, text.data(), nullptr);
    } else if (d->type == SANE_TYPE_BUTTON) {
        status = m_api->controlOption(m_handle, index, SANE_ACTION_SET_VALUE, nullptr, nullptr);
    } else {
        SANE_Word word = d->type == SANE_TYPE_FIXED ? SANE_FIX(value.toDouble())
            : d->type == SANE_TYPE_BOOL             ? (value.toBool() ? SANE_TRUE : SANE_FALSE)
                                                    : SANE_Word(qRound(value.toDouble()));
        status = m_api->controlOption(m_handle, index, SANE_ACTION_SET_VALUE, &word, nullptr);
    }
    if (status != SANE_STATUS_GOOD)
        m_error = QStringLiteral("The scanner refused %1 = %2 (%3).")
                      .arg(name, value.toString(), latin(m_api->statusText(status)));
    return status == SANE_STATUS_GOOD;
}

bool ScanSourceManager::setColourMode(ScanColourMode mode)
{
    const QString grey = QStringLiteral(SANE_VALUE_SCAN_MODE_GRAY);
    const QString wanted = mode == ScanColourMode::Colour
        ? QStringLiteral(SANE_VALUE_SCAN_MODE_COLOR)
        : mode == ScanColourMode::Grey ? grey
                                       : QStringLiteral(SANE_VALUE_SCAN_MODE_LINEART);
    QStringList offered;
    for (const ScanOption &o : options()) {
        if (o.name == QStringLiteral(SANE_NAME_SCAN_MODE))
            offered = o.choices;
    }
    // A lineart picture that arrives with more than one bit (a device without a lineart mode
    // scanned in grey, or a lineart mode that sends grey) is thresholded to 1 bit.
    m_thresholdGrey = mode == ScanColourMode::Lineart;
    if (offered.contains(wanted)) {
        if (!setOption(QStringLiteral(SANE_NAME_SCAN_MODE), wanted))
            return false;
        if (mode == ScanColourMode::Lineart)
            setOption(QStringLiteral(SANE_NAME_BIT_DEPTH), 1);
        return true;
    }
    if (mode != ScanColourMode::Lineart || !offered.contains(grey)) {
        m_error = QStringLiteral("The scanner has no %1 mode.").arg(wanted);
        return false;
    }
    if (!setOption(QStringLiteral(SANE_NAME_SCAN_MODE), grey))
        return false;
    setOption(QStringLiteral(SANE_NAME_BIT_DEPTH), 8);
    return true;
}

bool ScanSourceManager::setArea(double left, double top, double width, double height)
{
    if (width <= 0 || height <= 0) {
        m_error = QStringLiteral("The scan area is empty.");
        return false;
    }
    return setOption(QStringLiteral(SANE_NAME_SCAN_TL_X), left)
        && setOption(QStringLiteral(SANE_NAME_SCAN_TL_Y), top)
        && setOption(QStringLiteral(SANE_NAME_SCAN_BR_X), left + width)
        && setOption(QStringLiteral(SANE_NAME_SCAN_BR_Y), top + height);
}

} // namespace glimmerix
