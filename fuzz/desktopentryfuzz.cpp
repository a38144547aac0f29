// Fuzz target: the launcher's desktop entry reader and Exec= line expansion.

#include "platform/desktopentry.h"

#include <cstddef>
#include <cstdint>

using namespace glimmerix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const DesktopEntry entry = parseDesktopEntry(input);
    expandExecLine(entry.exec, { QStringLiteral("/a b.jpg"), QStringLiteral("/c.jpg") }, entry.name,
        entry.icon, QStringLiteral("/x.desktop"));
    // The whole input as an Exec= value too, so quoting and field codes see arbitrary text.
    expandExecLine(QString::fromUtf8(input), { QStringLiteral("/a.jpg") });
    return 0;
}
