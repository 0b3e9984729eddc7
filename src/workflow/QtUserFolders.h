#pragma once
// The folders the program writes into, as the desktop names them (XDG_*
// variables and user-dirs.dirs honoured); the program's own folder only
// holds what is read, such as the help pages.
#include <string>

#include "workflow/ProjectWorkflow.h"

namespace didad {

// The documents and home folders, where new projects go.
UserFolders DesktopUserFolders();
// The program's data folder of the user, which holds js.log; made when
// first written to.
std::string ProgramDataFolder();

} // namespace didad
