#include "clipmoduleloader.h"

#include "clipmodule.h"

#include <QFile>
#include <QFileInfo>

#include <dlfcn.h>

#include <mutex>

namespace glimmerix
{

namespace
{

// The clip module next to the program (build tree), else in <prefix>/lib/glimmerix (installed),
// else where this build made it (test programs live in other folders).
void *loadClipModule()
{
    const QString folder = QFileInfo(QFile::symLinkTarget(QStringLiteral("/proc/self/exe"))).path();
    const QString name = QString::fromLatin1(kClipModuleName);
    for (const QString &candidate :
        { folder + u'/' + name, folder + QStringLiteral("/../lib/glimmerix/") + name,
            QStringLiteral(GLIMMERIX_CLIP_MODULE) }) {
        if (void *module = dlopen(QFile::encodeName(candidate).constData(), RTLD_NOW | RTLD_LOCAL))
            return module;
    }
    return nullptr;
}

} // namespace

void *clipModuleSymbol(const char *name)
{
    static std::once_flag once;
    static void *module = nullptr;
    std::call_once(once, [] { module = loadClipModule(); });
    return module ? dlsym(module, name) : nullptr;
}

} // namespace glimmerix
