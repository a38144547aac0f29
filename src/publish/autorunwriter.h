#pragma once

#include <QByteArray>
#include <QString>

namespace glimmerix
{

// The products that put a program on a disc, and that program's name there.
enum class AutoRunProduct { WebAlbum, SlideShow, VideoPostcard };
QString autoRunProgramName(AutoRunProduct product);

// The content of "AutoRun.inf" for `product`: "[autorun]" and the open and icon lines, each
// ending in CR LF. With a disc folder (`discFolder` not empty) the lines name the program inside
// it (quoted for the web album); the name is written as it is.
QByteArray autoRunContent(AutoRunProduct product, const QString &discFolder);

// Writes folder + "AutoRun.inf" (replacing it). Empty on success, else the cause.
QString writeAutoRun(const QString &folder, AutoRunProduct product, const QString &discFolder);

// Checks a disc folder name typed on the destination page: false when it holds any of
// . ? : * < > / \ | or a double quote; otherwise every space becomes '_' in `name`. An empty
// name passes.
bool acceptDiscFolderName(QString &name);

} // namespace glimmerix
