// Fuzz target: the online service's upload reply and server lookup reply parsers.

#include "online/onlineprotocol.h"

#include <cstdlib>

using namespace glimmerix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray reply
        = QByteArray::fromRawData(reinterpret_cast<const char *>(data), qsizetype(size));
    const std::optional<int> code = uploadReplyCode(reply);
    if (code.has_value() != reply.contains(kUploadReplyMarker))
        std::abort();
    // Each byte of the reply makes at most one character of the host (a stray byte reads as
    // one replacement character).
    const QString server = serverFromLookup(reply);
    if (server.size() > reply.size())
        std::abort();
    return 0;
}
