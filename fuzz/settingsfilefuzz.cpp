// Fuzz target: the settings file parser and writer. Whatever parses must write out and parse
// back to the same tree with no errors.

#include "platform/settingsfile.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

using namespace glimmerix;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const QByteArray input(reinterpret_cast<const char *>(data), qsizetype(size));
    const SettingsFileParse first = parseSettingsFile(input);
    const SettingsFileParse second = parseSettingsFile(serializeSettingsFile(first.tree));
    if (!second.errors.isEmpty() || !(second.tree == first.tree))
        std::abort();
    for (const SettingsTree::Key &key : first.tree.keys())
        first.tree.subkeyNames(key.path);
    return 0;
}
