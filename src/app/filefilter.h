#pragma once

#include <QString>

namespace glimmerix
{

// A file-dialog filter written as "Name|*.a;*.b|Other|*.c||" (the string table's form) in the
// form Qt's file dialogs take: "Name (*.a *.b);;Other (*.c)". A name that already shows its
// patterns in parentheses keeps its text.
QString qtFileFilter(const QString &pipeFilter);

} // namespace glimmerix
