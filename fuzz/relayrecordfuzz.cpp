// Fuzz target: the relay record decoder, given whole files of any size.

#include "platform/relayfile.h"

#include <cstddef>
#include <cstdint>

using namespace glimmerix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray record(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<QString> path = decodeRelayRecord(record);
    // A decoded path always fits a record again.
    if (path && !encodeRelayRecord(*path))
        __builtin_trap();
    return 0;
}
