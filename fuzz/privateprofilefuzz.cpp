// Fuzz target: the private profile's INI text layer. After a value is set, reading it back must
// give that value, whatever the file held before.

#include "platform/privateprofile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace glimmerix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const QString section = QStringLiteral("USER");
    const QString key = QStringLiteral("Next number");
    findProfileValue(input, section, key);
    const QByteArray changed = setProfileValue(input, section, key, QStringLiteral("123"));
    if (findProfileValue(changed, section, key) != QStringLiteral("123"))
        std::abort();
    return 0;
}
