#pragma once
// The program's command line: --help, --version and one optional project
// folder. Read before the application object exists, so that --help and
// --version answer without a display.
#include <QString>

namespace didad {

struct CommandLineRequest {
    // False when the program is to end at once, with `exitCode`: after
    // --help or --version (0), or after a mistake (1).
    bool startProgram = true;
    int exitCode = 0;
    // The folder whose project opens at start; empty: none.
    QString projectFolder;
};

// Answers --help and --version on standard output and mistakes on standard
// error. Qt's own options (-platform, -style, ...) are let through for the
// application object to take.
CommandLineRequest ReadCommandLine(int argc, char** argv);

} // namespace didad
