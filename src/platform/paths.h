#pragma once

#include <QString>

namespace glimmerix
{

// Where Glimmerix keeps things on Linux. Every function returns an absolute path without a
// trailing slash.
//
//   resource folder  read-only program data: the language bundle, icon pictures, help, shipped
//                    templates. $GLIMMERIX_RESOURCES, else <prefix>/share/glimmerix when
//                    installed, else the executable's own folder (build tree).
//   user folder      the user's albums and media folders. $GLIMMERIX_HOME, else ~/Glimmerix.
//   config folder    settings store and GLIMIX.INI. $GLIMMERIX_HOME/.config when GLIMMERIX_HOME
//                    is set (portable use keeps everything together), else
//                    $XDG_CONFIG_HOME/glimmerix (~/.config/glimmerix).
//   runtime folder   private per-user temporary folder (mode 0700).
//                    $XDG_RUNTIME_DIR/glimmerix, else <temp>/glimmerix-<uid>.
//   instance folder  the part of the runtime folder that belongs to one user folder (mode 0700):
//                    instance socket and lock, relay file, image-path memory. Two programs with
//                    different user folders (a portable copy, a test run) never meet there.
//                    <runtime folder>/home-<key of the user folder>.

QString resourceFolder();
QString userFolder();
QString configFolder();
// Creates the runtime folder when missing and checks that it is ours and private; returns an
// empty string when no safe folder can be had.
QString runtimeFolder();
// A short key for the user folder `home`: 12 hex digits of a hash of its canonical path (links
// resolved), so two spellings of one folder give one key.
QString homeKey(const QString &home);
// Creates the instance folder when missing and checks it like the runtime folder; empty when no
// safe folder can be had.
QString instanceFolder();
// A program that ships inside the installation instead of on the PATH, such as the players that
// are copied into product packages: next to the running program (build tree), else in
// <prefix>/lib/glimmerix (installed), else where this build made it (test programs live in other
// folders). An empty string when none exists.
QString bundledProgramPath(const QString &fileName);

// `folder` + "/" + `name`, with no doubled separator.
QString joinPath(const QString &folder, const QString &name);
// Creates `folder` (and its parents) when a status query on it fails; failures are ignored.
void makeFolderIfMissing(const QString &folder);
// An item path made absolute: a path that does not start with '/' is taken relative to the user
// folder.
QString absoluteItemPath(const QString &path);

} // namespace glimmerix
