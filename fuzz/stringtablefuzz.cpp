// Fuzz target: the language bundle's string table parser and the printf-style formatter.

#include "platform/strings.h"

#include <cstddef>
#include <cstdint>

using namespace glimmerix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const StringTableParse parse = parseStringTable(input);
    for (const QString &text : parse.strings)
        formatPrintf(text, { QStringLiteral("1"), QStringLiteral("text") });
    return 0;
}
