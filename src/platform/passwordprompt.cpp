#include "passwordprompt.h"

#include <cstdio>
#include <iostream>
#include <string>

#include <termios.h>
#include <unistd.h>

namespace glimmerix
{

QString readPassword()
{
    if (qEnvironmentVariableIsSet("GLIMMERIX_PASSWORD"))
        return qEnvironmentVariable("GLIMMERIX_PASSWORD");
    std::fprintf(stderr, "Password: ");
    std::fflush(stderr);
    termios saved {};
    const bool terminal = isatty(STDIN_FILENO) && tcgetattr(STDIN_FILENO, &saved) == 0;
    if (terminal) {
        termios quiet = saved;
        quiet.c_lflag &= ~tcflag_t(ECHO);
        tcsetattr(STDIN_FILENO, TCSANOW, &quiet);
    }
    std::string line;
    std::getline(std::cin, line);
    if (terminal) {
        tcsetattr(STDIN_FILENO, TCSANOW, &saved);
        std::fprintf(stderr, "\n");
    }
    return QString::fromStdString(line);
}

} // namespace glimmerix
