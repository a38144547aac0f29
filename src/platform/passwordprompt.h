#pragma once

#include <QString>

namespace glimmerix
{

// A password for a command-line program: the GLIMMERIX_PASSWORD environment variable when it is
// set (scripts and tests), else one line typed at a "Password: " prompt on standard error, with
// echo off while standard input is a terminal.
QString readPassword();

} // namespace glimmerix
