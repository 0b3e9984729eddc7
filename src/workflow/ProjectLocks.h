#pragma once
// One running program per project, and what the next start says when the
// program ended without closing its project.
#include <string>

namespace didad {

// The name of the lock file that marks `folder` (the project folder's full,
// resolved path) as open. The lock files lie in the program's own data
// folder, never in the project folder, whose files the user uploads.
std::string ProjectLockFileName(const std::string& folder);

std::string ProjectInUseMessage(const std::string& folder);

// The start dialog's note after a run that ended without closing its project
// (a crash, a kill, a power cut); `savedAt` is when the project's script was
// last written.
std::string AbnormalEndNote(const std::string& savedAt);

} // namespace didad
