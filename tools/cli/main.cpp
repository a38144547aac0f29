// glimix-cli: the command-line tool. This front answers --version itself and hands every other
// command to the command module (clirun.cpp), loaded only then, so that the version query does
// not pay for loading Qt, the codecs and FFmpeg.

#include <dlfcn.h>

#include <climits>
#include <cstdio>
#include <cstring>
#include <string>

#include <unistd.h>

namespace
{

using RunFunction = int (*)(int, char **);

constexpr const char *kModuleName = "glimix-cli-commands.so";

std::string executableFolder()
{
    char path[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", path, sizeof path - 1);
    if (length <= 0)
        return ".";
    path[length] = '\0';
    const std::string file(path, std::size_t(length));
    const std::size_t slash = file.rfind('/');
    return slash == std::string::npos ? std::string(".") : file.substr(0, slash);
}

// The module next to the program (build tree), else in <prefix>/lib/glimmerix (installed).
void *openCommandModule()
{
    const std::string folder = executableFolder();
    for (const std::string &candidate :
        { folder + '/' + kModuleName, folder + "/../lib/glimmerix/" + kModuleName }) {
        if (void *module = dlopen(candidate.c_str(), RTLD_NOW | RTLD_LOCAL))
            return module;
    }
    return nullptr;
}

} // namespace

int main(int argc, char *argv[])
{
    if (argc == 2 && std::strcmp(argv[1], "--version") == 0) {
        std::fputs("Glimmerix " GLIMMERIX_VERSION "\n", stdout);
        return 0;
    }
    void *module = openCommandModule();
    auto run = module ? reinterpret_cast<RunFunction>(dlsym(module, "glimixCliRun")) : nullptr;
    if (!run) {
        std::fprintf(stderr, "glimix-cli: cannot load %s: %s\n", kModuleName, dlerror());
        return 1;
    }
    return run(argc, argv);
}
