#pragma once

namespace glimmerix
{

// The clip module (glimix-clip.so), loaded once on first use: the symbol `name` it exports, or
// null when the module or the symbol cannot be found.
void *clipModuleSymbol(const char *name);

} // namespace glimmerix
